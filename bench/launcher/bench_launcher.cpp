// The tray launcher beside a bare tray-icon program: memory after 5 s idle, context
// switches of all threads over 60 s idle, time to answer its first request, and the
// time a second launcher takes to see the first and end.
#include "BenchUtil.h"

#include "launcher/LauncherServer.h"
#include "launcher/SuitePrograms.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

namespace {

const QString kLauncher = QStringLiteral(MVX_HOME "/vantrelspirit");

qint64 StatusValue(const QString &file, const QByteArray &key)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed().split(' ').first().toLongLong();
    return 0;
}

double RssMb(qint64 pid)
{
    return StatusValue(QStringLiteral("/proc/%1/status").arg(pid), "VmRSS") / 1024.0;
}

// Voluntary and involuntary context switches of every thread of the process.
qint64 Switches(qint64 pid)
{
    qint64 total = 0;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    for (const QString &t : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString status = tasks + u'/' + t + QStringLiteral("/status");
        total += StatusValue(status, "voluntary_ctxt_switches") + StatusValue(status, "nonvoluntary_ctxt_switches");
    }
    return total;
}

QByteArray Ask(const QByteArray &line, int ms)
{
    return mvx::spirit::AskServer(mvx::spirit::ServerName(QStringLiteral("vantrelspirit")), line, ms);
}

void Idle(QProcess &p, const char *rssName, const char *wakeName)
{
    QThread::sleep(5);
    bench::figure(rssName, RssMb(p.processId()), "MB");
    const qint64 before = Switches(p.processId());
    QThread::sleep(60);
    bench::figure(wakeName, double(Switches(p.processId()) - before), "per_min");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);

    QProcess floor;
    floor.start(QStringLiteral(TRAY_FLOOR), {});
    if (!floor.waitForStarted(10000))
        return 1;
    Idle(floor, "tray_floor_rss_mb", "tray_floor_wakeups_per_min");
    floor.kill();
    floor.waitForFinished();

    QProcess launcher;
    const double t0 = bench::nowMs();
    launcher.start(kLauncher, {});
    while (Ask("3369", 50) != "804") {
        if (bench::nowMs() - t0 > 20000)
            return 1;
        QThread::msleep(2);
    }
    bench::figure("launcher_start_ms", bench::nowMs() - t0, "ms");

    std::vector<double> second;
    for (int i = 0; i < 5; ++i) {
        QProcess p;
        const double s0 = bench::nowMs();
        p.start(kLauncher, {});
        p.waitForFinished(20000);
        second.push_back(bench::nowMs() - s0);
    }
    bench::figure("launcher_second_exit_ms", bench::median(second), "ms");

    Idle(launcher, "launcher_rss_mb", "launcher_wakeups_per_min");
    Ask("exit", 2000);
    launcher.waitForFinished(10000);
    return 0;
}
