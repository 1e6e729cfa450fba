// Settings store speed: one key read from a warm store, one committed key write.
#include "BenchUtil.h"
#include "core/SettingsStore.h"

#include <QCoreApplication>
#include <QTemporaryDir>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    mvx::SettingsStore store(dir.filePath(QStringLiteral("settings.sqlite")));
    const QString appName = QStringLiteral("mvxbrxspecial");
    const QString section = QStringLiteral("user");
    for (int i = 0; i < 60; ++i)
        store.setValue(appName, section, QStringLiteral("Key%1").arg(i), QString::number(i));

    std::vector<double> reads;
    for (int round = 0; round < 200; ++round) {
        const QString key = QStringLiteral("Key%1").arg(round % 60);
        const double t0 = bench::nowMs();
        const QString v = store.value(appName, section, key, QString());
        reads.push_back((bench::nowMs() - t0) * 1000.0);
        if (v.isEmpty())
            return 1;
    }
    std::vector<double> writes;
    for (int round = 0; round < 100; ++round) {
        const double t0 = bench::nowMs();
        if (!store.setValue(appName, section, QStringLiteral("Speed"), QString::number(round)))
            return 1;
        writes.push_back((bench::nowMs() - t0) * 1000.0);
    }
    bench::figure("settings_read_us", bench::median(reads), "us");
    bench::figure("settings_write_us", bench::median(writes), "us");
    return 0;
}
