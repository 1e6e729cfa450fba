#include "launcher/LauncherRun.h"

#include "launcher/LauncherServer.h"
#include "launcher/SpiritTray.h"
#include "launcher/SuitePrograms.h"

#include "core/InstallLayout.h"
#include "core/SingleInstance.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include <malloc.h>

namespace mvx::spirit {

namespace {
const QString kLockName = QStringLiteral("vantrelspirit");

// The running launcher is asked its version; an older one is told to close and this
// one takes the lock once it has gone (at most 3 seconds).
bool TakeOver(SingleInstance &lock)
{
    const QString server = ServerName(kLockName);
    bool ok = false;
    const int version = AskServer(server, "3369", 1000).toInt(&ok);
    if (!ok || version >= kLauncherVersion)
        return false;
    (void)AskServer(server, "close", 1000);
    const QDeadlineTimer deadline(3000);
    while (!deadline.hasExpired()) {
        if (lock.tryAcquire())
            return true;
        QThread::msleep(50);
    }
    return lock.tryAcquire();
}
} // namespace

void ConfigureLauncherApp(QApplication &app)
{
    app.setQuitOnLastWindowClosed(false);
    app.setApplicationName(QStringLiteral("vantrelspirit"));
    app.setApplicationDisplayName(QStringLiteral("Morvex精灵"));
}

QString PictureFolderFor(const QString &exeDir)
{
    return ShippedDataFolder(exeDir) + QStringLiteral("/spiritinterface/");
}

bool IsBuildHome(const QString &exeDir)
{
#ifdef MVX_STAGED_HOME
    const QString staged = QFileInfo(QStringLiteral(MVX_STAGED_HOME)).canonicalFilePath();
    return !staged.isEmpty() && QFileInfo(exeDir).canonicalFilePath() == staged;
#else
    Q_UNUSED(exeDir);
    return false;
#endif
}

int RunLauncher(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ConfigureLauncherApp(app);
    const QString exeDir = QCoreApplication::applicationDirPath();
    LauncherOptions options;
    options.launcherPath = QCoreApplication::applicationFilePath();
    options.pictureFolder = PictureFolderFor(exeDir);
    options.limited = !QFileInfo(exeDir).isWritable();
    options.inBuildHome = IsBuildHome(exeDir);

    SingleInstance lock(kLockName);
    if (!lock.tryAcquire() && !TakeOver(lock))
        return 0;
    if (!options.limited)
        RefreshSiblingFolders(options.launcherPath, options.pictureFolder);

    SpiritTray tray(options);
    LauncherServer server([&tray](const QByteArray &line) { return tray.launcher().answer(line); });
    server.listen(ServerName(kLockName));
    tray.launcher().start();
    QTimer::singleShot(0, [] { malloc_trim(0); }); // what start-up freed goes back to the system
    const int code = app.exec();
    lock.release();
    return code;
}

} // namespace mvx::spirit
