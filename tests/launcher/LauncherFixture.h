#pragma once
// Shared pieces of the launcher tests: a settable clock, a recording tray and message
// boxes, and stand-in programs (shell scripts) that log how they were started.
#include "launcher/LauncherPorts.h"
#include "launcher/SpiritLauncher.h"
#include "launcher/SpiritTray.h"

#include "core/UserSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

namespace launchertest {

using namespace mvx::spirit;

class FakeClock final : public Clock
{
public:
    QDateTime time{QDate(2026, 3, 10), QTime(9, 0)};
    QDateTime now() const override { return time; }
};

class FakeTray final : public Tray
{
public:
    bool hostPresent = true;
    bool iconShown = false;
    bool quitTimer = false;
    int quits = 0;
    QStringList messages;
    QList<QPoint> pops;
    bool available() const override { return hostPresent; }
    void showIcon() override { iconShown = true; }
    void hideIcon() override { iconShown = false; }
    void showMessage(const QString &title, const QString &text) override { messages << title + u'|' + text; }
    void popMenu(const QPoint &at) override { pops << at; }
    void setQuitTimer(bool running) override { quitTimer = running; }
    void quit() override { ++quits; }
};

class FakeBoxes final : public MessageBoxes
{
public:
    QStringList shown;
    bool answerYes = false;
    void inform(const QString &title, const QString &text) override { shown << title + u'|' + text; }
    bool askYesNo(const QString &title, const QString &text) override
    {
        shown << title + u'|' + text;
        return answerYes;
    }
};

// A folder of stand-in programs; each start appends "name|folder|arg|arg..." to log.
class StandIns
{
public:
    QTemporaryDir dir{QString::fromLocal8Bit(qgetenv("MVX_TEST_TMP")) + QStringLiteral("/standinXXXXXX")};
    QString log() const { return dir.filePath(QStringLiteral("starts.log")); }
    QString folder(const QString &name) const
    {
        QDir().mkpath(dir.filePath(name));
        return dir.filePath(name) + u'/';
    }
    // Writes an executable script that logs its name, working folder and arguments.
    void program(const QString &folderName, const QString &file) const
    {
        const QString path = folder(folderName) + file;
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("#!/bin/sh\nline=\"$(basename \"$0\")|$(pwd)\"\n"
                               "for a in \"$@\"; do line=\"$line|$a\"; done\n"
                               "echo \"$line\" >> '%1'\n").arg(log()).toUtf8());
        f.close();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QStringList starts() const
    {
        QFile f(log());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    void clear() const { QFile::remove(log()); }
};

inline void SetProgram(const QString &key, const QString &name, const QString &value)
{
    if (key.startsWith(QLatin1String("SOFTWARE\\")))
        mvx::SaveAppSetting(key, {}, name, value);
    else
        mvx::SaveAppSetting(key, QStringLiteral("User"), name, value);
}

// Forgets every program's values the tests set.
inline void ClearPrograms()
{
    for (const char *key : {"vocabra7", "MvxMirada", "readola2003", "echomaxpro", "mvxbrxspecial", "mvxbrxstandard"})
        for (const char *name : {"InstallPath", "ExeName", "AmbivoExe", "name", "NotebookFile"})
            mvx::SaveAppSetting(QString::fromLatin1(key), QStringLiteral("User"), QString::fromLatin1(name), {});
    mvx::SaveAppSetting(QStringLiteral("SOFTWARE\\MorvexSoft\\Sentra"), {}, QStringLiteral("InstallPath"), {});
    mvx::SaveAppSetting(QString::fromUtf8(kSpiritKey), {}, QStringLiteral("AutoRemind"), QStringLiteral("1"));
    mvx::SaveAppSetting(QString::fromUtf8(kSpiritKey), {}, QStringLiteral("AutoStartSpirit"), QStringLiteral("1"));
}

} // namespace launchertest
