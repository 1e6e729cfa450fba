// What really reaches the device: SDL's disk driver writes every block the output plays to a
// file, which is compared with the source file's samples, through a seek, a pause and a
// rate change.
#include "MediaTestUtil.h"

#include "libs/media/AudioOutput.h"
#include "libs/media/MediaPlayer.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <unordered_map>

using mvx::AudioOutput;
using mvx::MediaPlayer;

namespace {

constexpr int kRate = AudioOutput::kSampleRate;
constexpr size_t kKey = 8;

// A stretch of output that is a contiguous piece of the source.
struct Run {
    size_t outStart;
    size_t srcStart;
    size_t length;
};

uint64_t windowKey(const float *s)
{
    uint64_t h = 1469598103934665603ull;
    for (size_t i = 0; i < kKey; ++i) {
        uint32_t bits;
        std::memcpy(&bits, s + i, 4);
        h = (h ^ bits) * 1099511628211ull;
    }
    return h;
}

// Walks the played sound and cuts it into runs that match the source sample for sample;
// silence and anything not found in the source is skipped.
std::vector<Run> matchRuns(const std::vector<float> &out, const std::vector<float> &src, size_t *unmatched)
{
    std::unordered_map<uint64_t, size_t> where;
    for (size_t i = 0; i + kKey <= src.size(); ++i)
        where.emplace(windowKey(&src[i]), i);
    std::vector<Run> runs;
    *unmatched = 0;
    size_t i = 0;
    while (i + kKey <= out.size()) {
        if (out[i] == 0.0f) {
            ++i;
            continue;
        }
        const auto found = where.find(windowKey(&out[i]));
        if (found == where.end()) {
            ++*unmatched;
            ++i;
            continue;
        }
        Run run{i, found->second, 0};
        while (i < out.size() && run.srcStart + run.length < src.size()
               && out[i] == src[run.srcStart + run.length]) {
            ++run.length;
            ++i;
        }
        runs.push_back(run);
    }
    return runs;
}

std::vector<float> readRaw(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    std::vector<float> out(size_t(bytes.size()) / sizeof(float));
    std::memcpy(out.data(), bytes.constData(), out.size() * sizeof(float));
    return out;
}

bool openAndWait(MediaPlayer &player, const QString &path)
{
    player.setURL(path);
    return QTest::qWaitFor([&] { return player.openState() != MediaPlayer::MediaOpening; }, 5000)
        && player.openState() == MediaPlayer::MediaOpen;
}

} // namespace

class TestMediaDisk : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void seekAndPausePlayTheFileExactly();
    void rateChangeStretchesWithPitchKept();

private:
    // Opens a disk-driver output writing to `raw`.
    std::unique_ptr<AudioOutput> diskOutput(const QString &raw);
    QTemporaryDir m_dir;
};

void TestMediaDisk::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("SDL_AUDIODRIVER", "disk");
}

std::unique_ptr<AudioOutput> TestMediaDisk::diskOutput(const QString &raw)
{
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(raw));
    auto output = std::make_unique<AudioOutput>(AudioOutput::Backend::Sdl);
    if (output->driverName() != QLatin1String("disk"))
        return nullptr;
    return output;
}

void TestMediaDisk::seekAndPausePlayTheFileExactly()
{
    const QString wav = m_dir.filePath(QStringLiteral("noise.wav"));
    QVERIFY(mediatest::writeSound(wav, mediatest::noise(4 * kRate), kRate));
    const std::vector<float> src = mediatest::readSound(wav);
    const QString raw = m_dir.filePath(QStringLiteral("played.raw"));

    double pausedAt = 0;
    {
        auto output = diskOutput(raw);
        QVERIFY2(output, "SDL's disk driver did not open");
        MediaPlayer player(*output);
        QVERIFY(openAndWait(player, wav));
        player.play();
        QTest::qWait(300);
        player.setCurrentPosition(2.0);
        QTest::qWait(300);
        player.pause();
        pausedAt = player.currentPosition();
        QTest::qWait(200);
        player.play();
        QTest::qWait(300);
        player.stop();
        QTest::qWait(50);
    } // closing the device writes out the last block

    const std::vector<float> played = readRaw(raw);
    QVERIFY(played.size() > size_t(kRate));
    const std::vector<float> left = mediatest::leftOf(played);
    for (size_t i = 0; i < left.size(); ++i)
        QCOMPARE(played[2 * i + 1], left[i]); // mono goes to both sides

    size_t unmatched = 0;
    const std::vector<Run> runs = matchRuns(left, src, &unmatched);
    QCOMPARE(unmatched, size_t(0));
    QCOMPARE(runs.size(), size_t(3));
    // From the start; from the seek; after the pause from where the learner was.
    QCOMPARE(runs[0].srcStart, size_t(0));
    QCOMPARE(runs[1].srcStart, size_t(2 * kRate));
    QCOMPARE(runs[1].outStart, runs[0].outStart + runs[0].length); // no gap at the seek
    QCOMPARE(runs[2].srcStart, size_t(std::llround(pausedAt * kRate)));
    QVERIFY(runs[2].outStart > runs[1].outStart + runs[1].length); // silence while paused
    for (const Run &run : runs)
        QVERIFY(run.length > size_t(kRate / 10));
    // The paused position is near what had been played before the pause: the disk driver has
    // no clock of its own, so the position may lead what it took by at most a quarter second.
    QVERIFY(runs[2].srcStart <= runs[1].srcStart + runs[1].length + size_t(kRate / 4));
}

void TestMediaDisk::rateChangeStretchesWithPitchKept()
{
    const std::vector<double> freqs{330, 440, 550, 660};
    const QString wav = m_dir.filePath(QStringLiteral("tones.wav"));
    QVERIFY(mediatest::writeSound(wav, mediatest::toneSteps(kRate, freqs, 0.5), kRate));
    const std::vector<float> src = mediatest::readSound(wav);
    const QString raw = m_dir.filePath(QStringLiteral("stretched.raw"));

    {
        auto output = diskOutput(raw);
        QVERIFY2(output, "SDL's disk driver did not open");
        MediaPlayer player(*output);
        QSignalSpy ends(&player, &MediaPlayer::endOfStream);
        QVERIFY(openAndWait(player, wav));
        player.play();
        QTest::qWait(120);
        player.setRate(1.4);
        QVERIFY(ends.wait(5000));
        QCOMPARE(player.currentPosition(), player.duration());
        QTest::qWait(50);
    }

    const std::vector<float> left = mediatest::leftOf(readRaw(raw));
    // Up to the change the played sound is the file itself.
    size_t first = 0, srcFirst = 0;
    while (first < left.size() && left[first] == 0.0f)
        ++first;
    while (srcFirst < src.size() && src[srcFirst] == 0.0f)
        ++srcFirst;
    size_t same = 0;
    while (first + same < left.size() && srcFirst + same < src.size()
           && left[first + same] == src[srcFirst + same])
        ++same;
    QVERIFY2(same > size_t(kRate / 20), qPrintable(QString::number(same)));
    QVERIFY(same < size_t(kRate / 2));

    // After it every tone keeps its pitch and lasts 0.5 s / 1.4.
    const auto runs = mediatest::toneRuns(left, kRate, freqs);
    QCOMPARE(runs.size(), freqs.size());
    for (size_t k = 0; k < runs.size(); ++k)
        QCOMPARE(runs[k].tone, int(k));
    for (size_t k = 1; k < runs.size(); ++k) {
        QVERIFY2(std::abs(runs[k].frames - 0.5 / 1.4 * kRate) < 0.03 * kRate,
                 qPrintable(QStringLiteral("tone %1: %2 frames").arg(k).arg(runs[k].frames)));
    }
}

QTEST_GUILESS_MAIN(TestMediaDisk)
#include "test_media_disk.moc"
