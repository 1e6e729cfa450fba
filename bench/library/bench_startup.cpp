// Start-up time: from starting the real program to its library window painted, as the
// median of 5 headless starts (after one start that warms the disk cache). Also the
// cost of the two libraries start-up opens before the window: the sound centre with its
// speech engine, and the dictionary.
#include "BenchUtil.h"
#include "core/TextCodec.h"
#include "core/UserSettings.h"
#include "launcher/LauncherServer.h"
#include "launcher/SuitePrograms.h"
#include "libs/comm/CommLib.h"
#include "libs/comm/NoticeService.h"
#include "libs/notedict/NoteDictLib.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// The tray launcher the program starts stays after it; told to close once the starts are done.
void CloseLauncher()
{
    (void)mvx::spirit::AskServer(mvx::spirit::ServerName(QStringLiteral("vantrelspirit")), "close", 3000);
}

// One start; the time until the program reports its window painted, or -1.
double timedStart(const QProcessEnvironment &env)
{
    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::SeparateChannels);
    const double t0 = bench::nowMs();
    program.start(QStringLiteral(MVX_HOME "/mvxbrxspecial"), {});
    QByteArray out;
    double shown = -1;
    while (program.waitForReadyRead(30000)) {
        out += program.readAllStandardOutput();
        if (out.contains("library-shown")) {
            shown = bench::nowMs() - t0;
            break;
        }
    }
    if (!program.waitForFinished(30000))
        program.kill();
    if (shown < 0)
        std::fprintf(stderr, "bench_startup: no window reported: %s\n", program.readAllStandardError().constData());
    return shown;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // A private settings store and runtime folder: no other instance is seen, and the
    // copy reminder is off as for a learner who said so (it would wait for an answer).
    QTemporaryDir config, runtime;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    mvx::SaveUserSetting(QString::fromLatin1(mvx::Key::CopySndHint), QStringLiteral("0"));
    // The shipped notices are read already: the welcome notice would wait for an answer too.
    int lastNotice = 0;
    for (const QString &line : mvx::ReadTextFile(QStringLiteral(MVX_HOME "/notices.txt")).lines)
        lastNotice = std::max(lastNotice, mvx::NoticeService::SerialOf(line));
    mvx::vcSetMaxViewedMsg(lastNotice);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    env.insert(QStringLiteral("MVX_REPORT_LIBRARY_SHOWN"), QStringLiteral("1"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());

    std::vector<double> starts;
    for (int i = 0; i < 6; ++i) {
        const double ms = timedStart(env);
        if (ms < 0) {
            CloseLauncher();
            return 1;
        }
        if (i > 0) // the first start warms the disk cache
            starts.push_back(ms);
    }
    CloseLauncher();
    bench::figure("startup_to_library_ms", bench::median(starts), "ms");

    // The two libraries on the way to the window, in this process.
    QDir::setCurrent(QStringLiteral(MVX_HOME));
    std::vector<double> centre, dict;
    for (int i = 0; i < 5; ++i) {
        double t0 = bench::nowMs();
        const int handle = mvx::vcSndCenter_Open(-1, 16, 22050, 1);
        if (mvx::vcSndCenter_IsTtsAvailable(handle)) {
            QString voice = QStringLiteral("Microsoft Mary");
            mvx::vcSndCenter_SetTtsVoiceName(handle, voice);
        }
        centre.push_back(bench::nowMs() - t0);
        t0 = bench::nowMs();
        const int dictionary = mvx::bcEcDict_Open(QStringLiteral("mvxdictec.idx"), QStringLiteral("mvxdictec.lib"));
        dict.push_back(bench::nowMs() - t0);
        mvx::bcEcDict_Close(dictionary);
        mvx::vcSndCenter_Close(handle);
    }
    bench::figure("startup_sound_centre_ms", bench::median(centre), "ms");
    bench::figure("startup_dictionary_ms", bench::median(dict), "ms");
    return 0;
}
