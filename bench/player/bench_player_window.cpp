// CPU of the real player window while it plays, as a learner without a GPU runs it: the
// whole PlayLessonForm (pages, waveform, labels) on a bundled lesson, the real media back
// end with SDL's dummy driver, on an X server of its own (Xvfb, so OpenGL is rendered by
// the processor as on a machine without a GPU). The window runs in a child process; this
// process adds up the CPU time of that child and all its descendants (the HTML engine's
// processes) from /proc over 10-second stretches, which other load on the machine hardly
// changes. Medians of three rounds, in percent of one core:
//   stopped_cpu_tree_percent  the window open and stopped (the floor)
//   play_cpu_tree_percent     playing (G), sentence after sentence
//   repeat_cpu_tree_percent   repeating one sentence (R)
// and the same three with the hardware scene graph forced (MVX_SCENE_GRAPH=hardware), which
// is what the window cost before the back end was chosen by the renderer.
#include "BenchUtil.h"

#include "core/AppState.h"
#include "core/UserSettings.h"
#include "player/form/PlayLessonForm.h"
#include "player/playback/PlaybackController.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

using namespace mvx;

namespace {

constexpr int kStretchMs = 10000;
constexpr int kRounds = 3;

// ---- The child: the player window, driven through its phases ---------------------------

// Runs the event loop as the program's own does (not a polling wait).
void Wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// The bundled book with the longest sound, so playing never runs out inside a stretch.
QString LongestBundledBook()
{
    QString best;
    qint64 bestSize = -1;
    QDirIterator it(QStringLiteral(MVX_HOME "/brxspecial"), {QStringLiteral("*.dat")}, QDir::Files);
    while (it.hasNext()) {
        const QFileInfo fi(it.next());
        if (fi.size() > bestSize) {
            best = fi.filePath();
            bestSize = fi.size();
        }
    }
    return best;
}

int RunWindow(int argc, char **argv)
{
    QApplication app(argc, argv);
    App().appPath = QStringLiteral(MVX_HOME);
    App().skinRoot = App().appPath + QStringLiteral("/ecminterface");
    QDir::setCurrent(App().appPath);
    SetMessageBoxHandler([](const QString &text, int) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return -1;
    });
    const QString book = LongestBundledBook();
    if (book.isEmpty()) {
        std::fprintf(stderr, "no bundled book under %s/brxspecial\n", MVX_HOME);
        return 1;
    }
    PlayLessonForm form;
    form.OpenLesson(book, 0, true);
    form.resize(1100, 760);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    PlaybackController &c = form.Controller();
    if (c.PlayStatus() != Stopped)
        return 1;
    Wait(3000); // pages loaded and painted, the engine's start-up work done

    const auto stretch = [](const char *name) {
        std::printf("begin %s\n", name);
        std::fflush(stdout);
        Wait(kStretchMs);
        std::printf("end %s\n", name);
        std::fflush(stdout);
    };
    stretch("stopped");
    form.btPlay_click();
    Wait(1000);
    if (c.PlayStatus() != Playing)
        return 2;
    stretch("play");
    const bool stillPlaying = c.PlayStatus() == Playing;
    form.btStop_click();
    form.btRepeatSentence_click();
    Wait(1000);
    if (c.PlayStatus() != Repeating)
        return 3;
    stretch("repeat");
    const bool stillRepeating = c.PlayStatus() == Repeating;
    form.btStop_click();
    if (!stillPlaying || !stillRepeating) {
        std::fprintf(stderr, "the player left its status inside a stretch\n");
        return 4;
    }
    return 0;
}

// ---- The parent: an X server, the child, and /proc ----------------------------------------

// utime + stime of one process and the finished children it waited for, in clock ticks.
qint64 ProcessTicks(qint64 pid, qint64 *parent)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = f.readAll();
    const int close = line.lastIndexOf(')'); // the command name may hold spaces
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    // fields[0] is the state (field 3 of stat); ppid is field 4, utime..cstime fields 14..17.
    if (fields.size() < 15)
        return -1;
    *parent = fields[1].toLongLong();
    return fields[11].toLongLong() + fields[12].toLongLong() + fields[13].toLongLong() + fields[14].toLongLong();
}

// CPU seconds of root and every descendant still alive.
double TreeCpuSeconds(qint64 root)
{
    QHash<qint64, qint64> parentOf;
    QHash<qint64, qint64> ticks;
    for (const QString &name : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = name.toLongLong(&number);
        if (!number)
            continue;
        qint64 parent = 0;
        const qint64 t = ProcessTicks(pid, &parent);
        if (t >= 0) {
            parentOf.insert(pid, parent);
            ticks.insert(pid, t);
        }
    }
    qint64 sum = 0;
    for (auto it = ticks.cbegin(); it != ticks.cend(); ++it) {
        for (qint64 p = it.key(); p > 1; p = parentOf.value(p, 0)) {
            if (p == root) {
                sum += it.value();
                break;
            }
        }
    }
    return double(sum) / double(sysconf(_SC_CLK_TCK));
}

struct Figures
{
    QHash<QString, double> percent; // stretch name -> % of one core
};

// A free display number: no lock file of a running server.
int FreeDisplay()
{
    for (int n = 77; n < 200; ++n)
        if (!QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            return n;
    return -1;
}

bool OneRound(const QString &display, const QString &sceneGraph, Figures &out)
{
    QTemporaryDir config, runtime, data;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
    env.remove(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS")); // the learner runs the engine as it comes
    env.remove(QStringLiteral("QT_QUICK_BACKEND"));
    if (geteuid() == 0) // as scripts/run does: the engine's sandbox refuses to run as root
        env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    if (sceneGraph.isEmpty())
        env.remove(QStringLiteral("MVX_SCENE_GRAPH"));
    else
        env.insert(QStringLiteral("MVX_SCENE_GRAPH"), sceneGraph);

    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--window")});
    if (!child.waitForStarted(10000))
        return false;
    const qint64 pid = child.processId();
    QHash<QString, double> begun;
    QHash<QString, double> begunWall;
    QByteArray pending;
    while (child.state() != QProcess::NotRunning) {
        if (!child.waitForReadyRead(60000) && child.state() != QProcess::NotRunning)
            break;
        pending += child.readAllStandardOutput();
        int nl;
        while ((nl = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromLatin1(pending.left(nl)).trimmed();
            pending.remove(0, nl + 1);
            const double cpu = TreeCpuSeconds(pid);
            const double wall = bench::nowMs();
            const QString name = line.section(QLatin1Char(' '), 1);
            if (line.startsWith(QLatin1String("begin "))) {
                begun.insert(name, cpu);
                begunWall.insert(name, wall);
            } else if (line.startsWith(QLatin1String("end ")) && begun.contains(name)) {
                out.percent.insert(name, (cpu - begun.value(name)) * 1000.0 / (wall - begunWall.value(name)) * 100.0);
            }
        }
    }
    child.waitForFinished(30000);
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        std::fprintf(stderr, "bench_player_window: the window run failed (%d)\n", child.exitCode());
        return false;
    }
    return out.percent.size() == 3;
}

int RunBench(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int n = FreeDisplay();
    if (n < 0)
        return 1;
    const QString display = QStringLiteral(":%1").arg(n);
    QProcess xserver;
    xserver.setProcessChannelMode(QProcess::ForwardedChannels);
    xserver.start(QStringLiteral("Xvfb"), {display, QStringLiteral("-screen"), QStringLiteral("0"),
                                           QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                                           QStringLiteral("tcp")});
    if (!xserver.waitForStarted(10000)) {
        std::fprintf(stderr, "bench_player_window: Xvfb does not start\n");
        return 1;
    }
    QElapsedTimer ready;
    ready.start();
    while (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) && ready.elapsed() < 10000)
        QThread::msleep(50);

    int status = 0;
    const struct {
        const char *sceneGraph;
        const char *suffix;
    } variants[] = {{"", ""}, {"hardware", "_forced_hardware"}};
    for (const auto &v : variants) {
        std::vector<double> stopped, play, repeat;
        for (int round = 0; round < kRounds; ++round) {
            Figures f;
            if (!OneRound(display, QString::fromLatin1(v.sceneGraph), f)) {
                status = 1;
                break;
            }
            std::fprintf(stderr, "round %d%s: stopped %.2f %%, play %.2f %%, repeat %.2f %%\n", round + 1, v.suffix,
                         f.percent.value(QStringLiteral("stopped")), f.percent.value(QStringLiteral("play")),
                         f.percent.value(QStringLiteral("repeat")));
            stopped.push_back(f.percent.value(QStringLiteral("stopped")));
            play.push_back(f.percent.value(QStringLiteral("play")));
            repeat.push_back(f.percent.value(QStringLiteral("repeat")));
        }
        if (stopped.empty())
            continue;
        const auto name = [&](const char *base) { return QByteArray(base) + v.suffix; };
        bench::figure(name("stopped_cpu_tree_percent").constData(), bench::median(stopped), "%");
        bench::figure(name("play_cpu_tree_percent").constData(), bench::median(play), "%");
        bench::figure(name("repeat_cpu_tree_percent").constData(), bench::median(repeat), "%");
    }
    xserver.terminate();
    xserver.waitForFinished(5000);
    return status;
}

} // namespace

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--window") == 0)
            return RunWindow(argc, argv);
    return RunBench(argc, argv);
}
