// Media back end figures: how fast a sentence file becomes ready, and how closely the reported
// position follows the wall clock through a seek, a pause and rate changes (SDL dummy driver).
#include "BenchUtil.h"

#include "libs/media/AudioOutput.h"
#include "libs/media/MediaPlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

// A sentence-like file: 22050 Hz mono 16-bit, a tone with a slow swell.
bool writeWav(const QString &path, double seconds)
{
    SF_INFO info{};
    info.samplerate = 22050;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!f)
        return false;
    const long n = long(seconds * info.samplerate);
    std::vector<short> s(static_cast<size_t>(n));
    for (long i = 0; i < n; ++i) {
        const double t = double(i) / info.samplerate;
        s[size_t(i)] = short(9000 * std::sin(2 * M_PI * 220 * t) * (0.6 + 0.4 * std::sin(2 * M_PI * 0.5 * t)));
    }
    sf_write_short(f, s.data(), n);
    sf_close(f);
    return true;
}

bool waitOpen(mvx::MediaPlayer &player)
{
    if (player.openState() == mvx::MediaPlayer::MediaOpen)
        return true;
    QEventLoop loop;
    QObject::connect(&player, &mvx::MediaPlayer::openStateChanged, &loop, [&](int s) {
        if (s != mvx::MediaPlayer::MediaOpening)
            loop.quit();
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    return player.openState() == mvx::MediaPlayer::MediaOpen;
}

double openReadyMs(mvx::MediaPlayer &player, const QString &path)
{
    std::vector<double> times;
    for (int i = 0; i < 41; ++i) {
        const double t0 = bench::nowMs();
        player.setURL(QStringLiteral("file:///") + path);
        if (!waitOpen(player))
            return -1;
        times.push_back(bench::nowMs() - t0);
        player.setURL(QString());
    }
    return bench::median(times);
}

// The reference: the position at the last start, seek or rate change, plus the wall-clock
// time since then times the rate; frozen while paused.
struct Reference {
    double pos = 0, t = 0, rate = 1;
    bool running = false;
    [[nodiscard]] double at(double ms) const { return running ? pos + (ms - t) / 1000 * rate : pos; }
    void anchor(double newPos, double ms) { pos = newPos; t = ms; }
};

double positionErrorMs(mvx::MediaPlayer &player, const QString &path)
{
    player.setURL(path);
    if (!waitOpen(player))
        return -1;
    Reference ref;
    double worst = 0;
    double start = 0;
    auto sampleUntil = [&](double untilMs) {
        while (bench::nowMs() - start < untilMs) {
            const double a = bench::nowMs();
            const double pos = player.currentPosition();
            const double b = bench::nowMs();
            // A read that the scheduler interrupted has no exact time: leave it out.
            if (b - a < 0.2)
                worst = std::max(worst, std::abs(pos - ref.at((a + b) / 2)) * 1000);
            std::this_thread::sleep_for(std::chrono::microseconds(700));
        }
    };
    auto act = [&](auto &&what) {
        const double a = bench::nowMs();
        what();
        return a;
    };
    start = bench::nowMs();
    ref.anchor(0, act([&] { player.play(); }));
    ref.running = true;
    sampleUntil(2000);
    ref.anchor(12.0, act([&] { player.setCurrentPosition(12.0); }));
    sampleUntil(4000);
    const double pausedAt = act([&] { player.pause(); });
    ref.anchor(ref.at(pausedAt), pausedAt);
    ref.running = false;
    sampleUntil(5000);
    ref.running = true;
    ref.anchor(ref.pos, act([&] { player.play(); }));
    sampleUntil(6500);
    const double fastAt = act([&] { player.setRate(1.4); });
    ref.anchor(ref.at(fastAt), fastAt);
    ref.rate = 1.4;
    sampleUntil(8500);
    const double slowAt = act([&] { player.setRate(0.8); });
    ref.anchor(ref.at(slowAt), slowAt);
    ref.rate = 0.8;
    sampleUntil(10000);
    player.stop();
    return worst;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("SDL_AUDIODRIVER", qEnvironmentVariable("SDL_AUDIODRIVER", QStringLiteral("dummy")).toUtf8());
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString tenSeconds = dir.filePath(QStringLiteral("base.wav"));
    const QString thirtySeconds = dir.filePath(QStringLiteral("long.wav"));
    if (!dir.isValid() || !writeWav(tenSeconds, 10) || !writeWav(thirtySeconds, 30)) {
        std::fprintf(stderr, "bench_media: cannot write the test sounds\n");
        return 1;
    }
    mvx::MediaPlayer player;
    if (!mvx::AudioOutput::shared().hasDevice())
        std::fprintf(stderr, "bench_media: no SDL device, measuring the silent output\n");
    const double ready = openReadyMs(player, tenSeconds);
    const double error = positionErrorMs(player, thirtySeconds);
    if (ready < 0 || error < 0) {
        std::fprintf(stderr, "bench_media: a test sound did not open\n");
        return 1;
    }
    bench::figure("media_open_ready_ms", ready, "ms");
    bench::figure("media_position_error_ms", error, "ms");
    return 0;
}
