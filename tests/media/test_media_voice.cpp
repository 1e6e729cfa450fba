// One voice rendered directly with virtual time: what comes out for a given file, position,
// rate and device, without a sound device in the way.
#include "MediaTestUtil.h"

#include "libs/media/DecodedSound.h"
#include "libs/media/Voice.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using mvx::DecodedSound;
using mvx::OutputTiming;
using mvx::Voice;

namespace {

constexpr int kRate = 44100;
constexpr int kBlock = 512;

// Renders blocks one after another as a device with no latency would take them, each block
// at the virtual time its first frame is heard; returns interleaved stereo.
struct Device {
    Voice &voice;
    double t = 0;
    std::vector<float> out;
    void run(int blocks)
    {
        for (int b = 0; b < blocks; ++b) {
            std::vector<float> block(size_t(kBlock) * 2, 0.0f);
            voice.render(block.data(), kBlock, t);
            out.insert(out.end(), block.begin(), block.end());
            t += double(kBlock) / kRate;
        }
    }
    void runUntilEnded(int limit = 100000)
    {
        while (voice.state(t) == Voice::State::Playing && limit-- > 0)
            run(1);
    }
};

OutputTiming hardwareTiming()
{
    OutputTiming timing;
    timing.latency = 0;
    timing.tolerance = 0.03;
    return timing;
}

std::shared_ptr<const DecodedSound> monoSound(std::vector<float> s, int rate = kRate)
{
    return DecodedSound::fromSamples(std::move(s), 1, rate);
}

} // namespace

class TestMediaVoice : public QObject
{
    Q_OBJECT
private slots:
    void decodesFiles_data();
    void decodesFiles();
    void rejectsBadFiles_data();
    void rejectsBadFiles();
    void distrustsLengthInHeader();
    void playsSamplesExactly();
    void seekPauseResumeStop();
    void stretchKeepsPitch_data();
    void stretchKeepsPitch();
    void rateChangeWhilePlaying();
    void naturalEndHoldsAtDuration();
    void clockFollowsStalledDevice();
    void positionTiming_data();
    void positionTiming();

private:
    QTemporaryDir m_dir;
};

void TestMediaVoice::decodesFiles_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("rate");
    QTest::addColumn<QString>("name");
    QTest::addRow("wav 16-bit mono") << (SF_FORMAT_WAV | SF_FORMAT_PCM_16) << 1 << 22050 << "a.wav";
    QTest::addRow("wav float stereo") << (SF_FORMAT_WAV | SF_FORMAT_FLOAT) << 2 << 44100 << "b.wav";
    QTest::addRow("mp3") << (SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III) << 1 << 22050 << "c.mp3";
    QTest::addRow("flac") << (SF_FORMAT_FLAC | SF_FORMAT_PCM_16) << 1 << 16000 << "d.flac";
    QTest::addRow("four channels mixed to two") << (SF_FORMAT_WAV | SF_FORMAT_PCM_16) << 4 << 22050 << "e.wav";
    QTest::addRow("Chinese name with spaces") << (SF_FORMAT_WAV | SF_FORMAT_PCM_16) << 1 << 22050
                                              << QString::fromUtf8("课文 声音#1.wav");
}

void TestMediaVoice::decodesFiles()
{
    QFETCH(int, format);
    QFETCH(int, channels);
    QFETCH(int, rate);
    QFETCH(QString, name);
    const std::vector<float> tone = mediatest::toneSteps(rate, {440.0}, 1.5);
    std::vector<float> interleaved;
    for (float v : tone)
        for (int c = 0; c < channels; ++c)
            interleaved.push_back(v);
    const QString path = m_dir.filePath(name);
    QVERIFY(mediatest::writeSound(path, interleaved, rate, channels, format));

    QString error;
    auto sound = DecodedSound::load(path, &error);
    QVERIFY2(sound, qPrintable(error));
    QCOMPARE(sound->sampleRate(), rate);
    QCOMPARE(sound->channels(), std::min(channels, 2));
    // MP3 frames pad the ends a little; the others are exact.
    QCOMPARE_LE(std::abs(sound->duration() - 1.5), 0.06);
    std::vector<float> left(size_t(sound->frames()));
    for (long long i = 0; i < sound->frames(); ++i)
        left[size_t(i)] = sound->data()[i * sound->channels()];
    QCOMPARE_LE(std::abs(mediatest::toneFrequency(left, size_t(rate / 2), size_t(rate / 2), rate) - 440), 2.0);
}

void TestMediaVoice::rejectsBadFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addRow("missing") << "nothere.wav" << QByteArray();
    QTest::addRow("empty") << "empty.wav" << QByteArray("");
    QTest::addRow("text") << "text.wav" << QByteArray("this is not a sound file at all\n");
    QTest::addRow("truncated header") << "cut.wav" << QByteArray("RIFF\x24\x00\x00\x00WAVEfmt ", 16);
    QTest::addRow("folder") << "folder.wav" << QByteArray();
}

void TestMediaVoice::rejectsBadFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    const QString path = m_dir.filePath(name);
    if (name == QLatin1String("folder.wav")) {
        QVERIFY(QDir(m_dir.path()).mkpath(name));
    } else if (name != QLatin1String("nothere.wav")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QString error;
    QVERIFY(!DecodedSound::load(path, &error));
    QVERIFY(!error.isEmpty());
}

// A FLAC file whose header claims two thousand million frames (found by fuzzing): the sound
// holds its real frames, and the buffer is sized by them, not by the header.
void TestMediaVoice::distrustsLengthInHeader()
{
    const QString path = m_dir.filePath(QStringLiteral("claims.flac"));
    QVERIFY(mediatest::writeSound(path, std::vector<float>(1200, 0.25f), 4000, 1, SF_FORMAT_FLAC | SF_FORMAT_PCM_16));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QByteArray bytes = f.readAll();
    QCOMPARE(bytes.left(4), QByteArray("fLaC"));
    // STREAMINFO's 36-bit total sample count ends the 8 bytes from offset 18.
    bytes[21] = char((bytes[21] & 0xF0));
    bytes.replace(22, 4, QByteArray("\x7F\xFF\xFF\xFF", 4));
    QVERIFY(f.seek(0) && f.write(bytes) == bytes.size());
    f.close();

    QString error;
    auto sound = DecodedSound::load(path, &error);
    QVERIFY2(sound, qPrintable(error));
    QCOMPARE(sound->frames(), 1200);
    QCOMPARE_LT(sound->samples().capacity(), size_t(1) << 20);
}

void TestMediaVoice::playsSamplesExactly()
{
    const std::vector<float> src = mediatest::noise(kRate);
    Voice voice(kRate);
    voice.setTiming(hardwareTiming());
    voice.setSound(monoSound(src));
    voice.play(0);
    Device device{voice, 0.0, {}};
    device.run(10);
    const std::vector<float> left = mediatest::leftOf(device.out);
    for (size_t i = 0; i < left.size(); ++i) {
        QCOMPARE(left[i], src[i]);
        QCOMPARE(device.out[2 * i + 1], src[i]);
    }
    // The clock: 10 blocks handed over from time 0; it waits at what was handed over.
    QCOMPARE_LE(std::abs(voice.position(0.05) - 0.05), 1e-9);
    QCOMPARE_LE(std::abs(voice.position(1.0) - 10.0 * kBlock / kRate), 1e-9);
}

void TestMediaVoice::seekPauseResumeStop()
{
    const std::vector<float> src = mediatest::noise(3 * kRate);
    Voice voice(kRate);
    voice.setTiming(hardwareTiming());
    voice.setSound(monoSound(src));
    voice.play(0);
    Device device{voice, 0.0, {}};
    device.run(2);

    voice.seek(2.0, device.t);
    QCOMPARE(voice.position(device.t), 2.0); // reads the new place at once
    size_t mark = device.out.size() / 2;
    device.run(2);
    std::vector<float> left = mediatest::leftOf(device.out);
    for (size_t i = 0; i < 2 * kBlock; ++i)
        QCOMPARE(left[mark + i], src[size_t(2 * kRate) + i]);

    // Paused 4 ms before the sound handed over runs out: that is where the learner is.
    const double pausedAt = device.t - 0.004;
    voice.pause(pausedAt);
    const double kept = voice.position(pausedAt);
    QCOMPARE_LE(std::abs(kept - (2.0 + 2.0 * kBlock / kRate - 0.004)), 1e-9);
    QCOMPARE(voice.state(pausedAt), Voice::State::Paused);
    mark = device.out.size() / 2;
    device.run(3);
    left = mediatest::leftOf(device.out);
    for (size_t i = mark; i < left.size(); ++i)
        QCOMPARE(left[i], 0.0f);
    QCOMPARE(voice.position(device.t), kept);

    voice.play(device.t); // resumes where the learner was, not where rendering had got to
    mark = device.out.size() / 2;
    device.run(1);
    left = mediatest::leftOf(device.out);
    const size_t resumeFrame = size_t(std::llround(kept * kRate));
    for (size_t i = 0; i < kBlock; ++i)
        QCOMPARE(left[mark + i], src[resumeFrame + i]);

    voice.stop();
    QCOMPARE(voice.position(device.t + 1), 0.0);
    QCOMPARE(voice.state(device.t), Voice::State::Stopped);
    voice.seek(1.5, device.t); // a position set while stopped is where play starts
    voice.play(device.t);
    mark = device.out.size() / 2;
    device.run(1);
    left = mediatest::leftOf(device.out);
    QCOMPARE(left[mark], src[size_t(1.5 * kRate)]);
}

void TestMediaVoice::stretchKeepsPitch_data()
{
    QTest::addColumn<int>("sourceRate");
    QTest::addColumn<double>("rate");
    QTest::addRow("slow 0.8") << 44100 << 0.8;
    QTest::addRow("fast 1.2") << 44100 << 1.2;
    QTest::addRow("fastest 1.4") << 44100 << 1.4;
    QTest::addRow("22050 Hz file at 1.0") << 22050 << 1.0;
    QTest::addRow("22050 Hz file at 1.4") << 22050 << 1.4;
}

void TestMediaVoice::stretchKeepsPitch()
{
    QFETCH(int, sourceRate);
    QFETCH(double, rate);
    const std::vector<double> freqs{330, 440, 550, 660};
    Voice voice(kRate);
    voice.setTiming(hardwareTiming());
    voice.setSound(monoSound(mediatest::toneSteps(sourceRate, freqs, 0.5), sourceRate));
    voice.setRate(rate, 0);
    voice.play(0);
    Device device{voice, 0.0, {}};
    device.runUntilEnded();
    QCOMPARE(voice.state(device.t), Voice::State::Ended);
    QCOMPARE(voice.position(device.t), 2.0);

    const auto runs = mediatest::toneRuns(mediatest::leftOf(device.out), kRate, freqs);
    QCOMPARE(runs.size(), freqs.size());
    const double expected = 0.5 / rate * kRate;
    for (size_t k = 0; k < runs.size(); ++k) {
        QCOMPARE(runs[k].tone, int(k));
        QVERIFY2(std::abs(runs[k].frames - expected) < 0.03 * kRate,
                 qPrintable(QStringLiteral("tone %1 lasted %2 frames, expected %3").arg(k).arg(runs[k].frames).arg(expected)));
    }
}

void TestMediaVoice::rateChangeWhilePlaying()
{
    const std::vector<double> freqs{330, 440, 550, 660};
    Voice voice(kRate);
    voice.setTiming(hardwareTiming());
    voice.setSound(monoSound(mediatest::toneSteps(kRate, freqs, 0.5)));
    voice.play(0);
    Device device{voice, 0.0, {}};
    while (device.t < 0.75)
        device.run(1);
    const double before = voice.position(device.t);
    voice.setRate(1.4, device.t);
    QCOMPARE_LE(std::abs(voice.position(device.t) - before), 1e-9);
    const size_t mark = device.out.size() / 2;
    device.run(1);
    QCOMPARE_LE(std::abs(voice.position(device.t) - (before + 1.4 * kBlock / kRate)), 1e-9);
    device.runUntilEnded();
    // The switch into the stretcher is seamless: no gap, no click (a 440 Hz tone at 0.5
    // moves at most 0.032 from one sample to the next).
    const std::vector<float> left = mediatest::leftOf(device.out);
    for (size_t i = mark - 4; i < mark + kBlock; ++i)
        QVERIFY2(std::abs(left[i] - left[i - 1]) < 0.04, qPrintable(QStringLiteral("step at %1").arg(i)));

    const auto runs = mediatest::toneRuns(left, kRate, freqs);
    QCOMPARE(runs.size(), freqs.size());
    // The first tone at the old rate, the last two stretched to 0.5 / 1.4 s with pitch kept.
    QVERIFY(std::abs(runs[0].frames - 0.5 * kRate) < 0.03 * kRate);
    QVERIFY(std::abs(runs[2].frames - 0.5 / 1.4 * kRate) < 0.03 * kRate);
    QVERIFY(std::abs(runs[3].frames - 0.5 / 1.4 * kRate) < 0.03 * kRate);
}

void TestMediaVoice::naturalEndHoldsAtDuration()
{
    Voice voice(kRate);
    voice.setTiming(hardwareTiming());
    voice.setSound(monoSound(mediatest::noise(kRate / 4)));
    voice.play(0);
    Device device{voice, 0.0, {}};
    device.runUntilEnded();
    QCOMPARE(voice.state(device.t), Voice::State::Ended);
    QCOMPARE(voice.position(device.t + 5), 0.25);
    const size_t frames = device.out.size() / 2;
    device.run(2); // nothing more comes out
    for (size_t i = frames * 2; i < device.out.size(); ++i)
        QCOMPARE(device.out[i], 0.0f);
    voice.play(device.t); // play after the end starts again
    QCOMPARE(voice.position(device.t), 0.0);
    QCOMPARE(voice.state(device.t), Voice::State::Playing);
}

void TestMediaVoice::clockFollowsStalledDevice()
{
    Voice voice(kRate);
    voice.setTiming(hardwareTiming());
    voice.setSound(monoSound(mediatest::noise(2 * kRate)));
    voice.play(0);
    Device device{voice, 0.0, {}};
    device.run(4);
    const double handed = 4.0 * kBlock / kRate;
    // The device stops asking for 300 ms: the position waits at what it was given...
    QCOMPARE(voice.position(0.3), handed);
    // ...and when it asks again, the position goes on from there, not from the wall clock.
    device.t = 0.3;
    device.run(1);
    QCOMPARE(voice.position(0.3), handed);
    QCOMPARE_LE(std::abs(voice.position(0.31) - (handed + 0.01)), 1e-9);
}

// Play is asked for at t = 0; the device calls back at t = 0.004 for its first block. The
// position read at `t` depends on the kind of device.
void TestMediaVoice::positionTiming_data()
{
    QTest::addColumn<bool>("clockless");
    QTest::addColumn<double>("latency");
    QTest::addColumn<double>("t");
    QTest::addColumn<double>("expected");
    QTest::addRow("device: nothing heard before the callback") << false << 0.02 << 0.003 << 0.0;
    QTest::addRow("device: the block waits behind what the device holds") << false << 0.02 << 0.02 << 0.0;
    QTest::addRow("device: heard from callback + latency") << false << 0.02 << 0.034 << 0.010;
    QTest::addRow("clockless: counts from the request") << true << 0.0 << 0.003 << 0.003;
    QTest::addRow("clockless: after the first block") << true << 0.0 << 0.010 << 0.010;
}

void TestMediaVoice::positionTiming()
{
    QFETCH(bool, clockless);
    QFETCH(double, latency);
    QFETCH(double, t);
    QFETCH(double, expected);
    OutputTiming timing;
    timing.latency = latency;
    timing.fromRequest = clockless;
    timing.slack = clockless ? 0.25 : 0.0;
    timing.tolerance = 0.1;
    Voice voice(kRate);
    voice.setTiming(timing);
    voice.setSound(monoSound(mediatest::noise(kRate)));
    voice.play(0);
    std::vector<float> block(size_t(kBlock) * 2, 0.0f);
    if (t >= 0.004)
        voice.render(block.data(), kBlock, 0.004);
    QCOMPARE_LE(std::abs(voice.position(t) - expected), 1e-9);
}

QTEST_GUILESS_MAIN(TestMediaVoice)
#include "test_media_voice.moc"
