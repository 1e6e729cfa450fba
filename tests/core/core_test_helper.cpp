// A second process for the core tests: writes settings, holds a settings file in an
// exclusive transaction, or holds a single-instance lock.
#include "core/SettingsStore.h"
#include "core/SingleInstance.h"
#include "core/SqliteDb.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 4 && args[1] == QLatin1String("write-settings")) {
        // write-settings <prefix> <count>: one committed write per key
        const QString prefix = args[2];
        const int count = args[3].toInt();
        mvx::SettingsStore &store = mvx::SettingsStore::instance();
        for (int i = 0; i < count; ++i)
            if (!store.setValue(QStringLiteral("race"), QStringLiteral("user"), prefix + QString::number(i),
                                QString::number(i)))
                return 2;
        return 0;
    }
    if (args.size() >= 3 && args[1] == QLatin1String("hold-store-exclusive")) {
        // As another program of the family might: rollback journal, one long exclusive transaction.
        mvx::SqliteDb db;
        if (!db.open(args[2], mvx::SqliteDb::Mode::ReadWrite) || !db.exec(QStringLiteral("PRAGMA journal_mode=DELETE"))
            || !db.exec(QStringLiteral("BEGIN EXCLUSIVE")))
            return 4;
        std::printf("locked\n");
        std::fflush(stdout);
        QThread::sleep(60);
        return 0;
    }
    if (args.size() >= 3 && args[1] == QLatin1String("hold-lock")) {
        mvx::SingleInstance instance(args[2]);
        if (!instance.tryAcquire())
            return 3;
        std::printf("locked\n");
        std::fflush(stdout);
        QThread::sleep(60);
        return 0;
    }
    return 1;
}
