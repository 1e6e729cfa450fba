#pragma once
// The launcher's presence on the desktop: the notification icon, the picture menu
// popped at the pointer, the three timers, and the real ports (system clock, detached
// program starts, plain message boxes) handed to SpiritLauncher.
#include "launcher/LauncherPorts.h"
#include "launcher/SpiritLauncher.h"
#include "launcher/SpiritMenu.h"

#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>
#include <memory>

namespace mvx::spirit {

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class DetachedStarter final : public ProcessStarter
{
public:
    bool start(const QString &program, const QStringList &arguments, const QString &folder) override;
    bool openUrl(const QUrl &url) override;
};

class PlainMessageBoxes final : public MessageBoxes
{
public:
    void inform(const QString &title, const QString &text) override;
    bool askYesNo(const QString &title, const QString &text) override;
};

class SpiritTray final : public QObject, public Tray
{
    Q_OBJECT

public:
    explicit SpiritTray(const LauncherOptions &options);
    ~SpiritTray() override;

    [[nodiscard]] SpiritLauncher &launcher() { return *m_launcher; }
    [[nodiscard]] SpiritMenu &menu();
    [[nodiscard]] QSystemTrayIcon &icon() { return m_icon; }

    bool available() const override;
    void showIcon() override;
    void hideIcon() override;
    void showMessage(const QString &title, const QString &text) override;
    void popMenu(const QPoint &at) override;
    void setQuitTimer(bool running) override;
    void quit() override;

private:
    SystemClock m_clock;
    DetachedStarter m_starter;
    PlainMessageBoxes m_boxes;
    QSystemTrayIcon m_icon;
    std::unique_ptr<SpiritLauncher> m_launcher;
    std::unique_ptr<SpiritMenu> m_menu;
    QString m_pictureFolder;
    QTimer m_reminder, m_review, m_quit;
};

} // namespace mvx::spirit
