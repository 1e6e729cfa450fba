#pragma once
// The tray launcher's logic: its menu, what each item does, the review reminders, the
// exit rule and the answers to other programs' requests. A plain class: the tray, the
// timers, the clock, message boxes and program starts come in through LauncherPorts.h.
#include "launcher/AutostartEntry.h"
#include "launcher/EngineHelper.h"
#include "launcher/LauncherPorts.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

namespace mvx::spirit {

struct LauncherOptions
{
    QString launcherPath;   // absolute path of the running launcher
    QString pictureFolder;  // the menu pictures and the tray icon
    QString configHome;     // where the autostart folder lies ($XDG_CONFIG_HOME when empty)
    bool limited = false;   // the launcher's folder cannot be written
    bool inBuildHome = false; // run from the build's staged home: never writes autostart at start
};

struct MenuItem
{
    QString name;  // picture base name and item id ("btVantrel")
    QString text;  // shown when the picture is missing, and read by screen readers
    QString group; // "" on the menu itself, else the submenu's item name
    bool checkable = false;
    bool checked = false;
    bool separatorBefore = false;
};

// Settings key of the launcher's own values.
inline constexpr auto kSpiritKey = "Software\\MorvexSoft\\Morvex英语";

class SpiritLauncher final
{
public:
    SpiritLauncher(const LauncherOptions &options, Clock &clock, Tray &tray, ProcessStarter &starter,
                   MessageBoxes &boxes);

    // Reads the options, writes the autostart entry when wanted, shows the icon.
    void start();

    // The menu as it is now (refreshDueCount() first when it is about to open).
    [[nodiscard]] QList<MenuItem> menu() const;
    void menuOpening();
    // Runs the item's command.
    void activate(const QString &item);

    void reminderTick(); // every 20 minutes
    void reviewTick();   // every 2 minutes
    void quitTick();     // every 3 seconds while exiting

    // One request line of another program -> one answer line ("" = no answer).
    QByteArray answer(const QByteArray &line);

    // Exit from the menu (true: it is closing); the refusal is shown only when asked.
    bool runExit(bool showRefusal);
    // A newer launcher takes over: close without the exit rule.
    void closeForTakeOver();

    [[nodiscard]] int dueCount() const { return m_dueCount; }
    void refreshDueCount();
    [[nodiscard]] bool autoStartChecked() const { return m_autoStart; }
    [[nodiscard]] bool autoRemindChecked() const { return m_autoRemind; }
    [[nodiscard]] const AutostartEntry &autostart() const { return m_autostart; }
    [[nodiscard]] EngineHelper &helper() { return m_helper; }

    // Texts of the launcher's own menu item and reminder for a due count.
    [[nodiscard]] static QString noteReviewText(int due);
    [[nodiscard]] static QString reminderText(int due);

private:
    void launch(const QString &item);
    void startProgram(const QString &program, const QStringList &arguments);
    void launchArtigle();
    void noteReview();
    void toggleAutoStart();
    void toggleAutoRemind();
    void startReviewTasks(bool shown);
    void remindNotebook(bool daily);
    void finishExit();
    void inform(const QString &text);

    LauncherOptions m_options;
    Clock &m_clock;
    Tray &m_tray;
    ProcessStarter &m_starter;
    MessageBoxes &m_boxes;
    AutostartEntry m_autostart;
    EngineHelper m_helper;
    bool m_autoStart = false;
    bool m_autoRemind = true;
    bool m_sessionItemsHidden = false; // another program asked for its own menu: no exit there
    bool m_exitFoundStarting = false;
    bool m_exiting = false;
    int m_dueCount = -1;
    QDate m_reminderDay;      // the local day of the last daily notebook reminder
    int m_lastReminderCount = -1;
};

} // namespace mvx::spirit
