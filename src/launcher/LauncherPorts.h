#pragma once
// What the launcher's logic needs from the outside, behind small interfaces: the
// clock, the tray and its timers, starting programs, and message boxes. The program
// passes the real ones (SpiritTray); tests pass a settable clock and recording fakes.
#include <QDateTime>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace mvx::spirit {

class Clock
{
public:
    virtual ~Clock() = default;
    [[nodiscard]] virtual QDateTime now() const = 0; // local time
};

class Tray
{
public:
    virtual ~Tray() = default;
    [[nodiscard]] virtual bool available() const = 0; // a tray host shows icons
    virtual void showIcon() = 0;
    virtual void hideIcon() = 0;
    virtual void showMessage(const QString &title, const QString &text) = 0;
    virtual void popMenu(const QPoint &at) = 0; // screen position; the pointer when null
    virtual void setQuitTimer(bool running) = 0;
    virtual void quit() = 0; // the launcher ends
};

class ProcessStarter
{
public:
    virtual ~ProcessStarter() = default;
    // Starts the program detached in the folder; each argument stays one argument.
    virtual bool start(const QString &program, const QStringList &arguments, const QString &folder) = 0;
    virtual bool openUrl(const QUrl &url) = 0;
};

class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual void inform(const QString &title, const QString &text) = 0;
    [[nodiscard]] virtual bool askYesNo(const QString &title, const QString &text) = 0; // true = Yes
};

} // namespace mvx::spirit
