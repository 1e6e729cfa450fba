// Sentence sounds: a cut is exactly the sentence's samples at 22050 Hz mono 16-bit, holds the
// sound of the right moment whatever the lesson's format, and MP3s are made when asked for.
#include "SentraFixtures.h"
#include "core/SqliteDb.h"
#include "libs/sentra/SentraFacade.h"
#include "libs/sentra/SoundFiles.h"

#include <QtTest>

#include <sys/resource.h>

#include <cmath>

using namespace mvx::sentra;

namespace {

qint64 outIndex(qint64 ms)
{
    return qint64(std::floor(ms * 22050.0 / 1000.0 + 0.5));
}

struct WavFile
{
    SF_INFO info{};
    std::vector<short> samples;
};

WavFile readSound(const QString &path)
{
    WavFile w;
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_READ, &w.info);
    if (!f)
        return w;
    w.samples.resize(size_t(w.info.frames * w.info.channels));
    sf_readf_short(f, w.samples.data(), w.info.frames);
    sf_close(f);
    return w;
}

// The lesson's tone at output sample i (the channels' mean), as 16-bit.
double expectedSample(qint64 i, int channels)
{
    double sum = 0;
    for (int c = 0; c < channels; ++c)
        sum += fixtures::toneSample(i, 22050, c);
    return sum / channels * 32768.0;
}

} // namespace

class TestSentraSound : public QObject
{
    Q_OBJECT

private slots:
    void sentenceSoundIsExactStretch_data();
    void sentenceSoundIsExactStretch();
    void seekingCutEqualsCutFromStart();
    void mp3MadeOnlyWhenAsked();
    void brokenSoundFailsWithoutFile();
    void mp3LengthComesFromTheData_data();
    void mp3LengthComesFromTheData();
};

void TestSentraSound::sentenceSoundIsExactStretch_data()
{
    QTest::addColumn<QByteArray>("sound");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("startMs");
    QTest::addColumn<int>("endMs");
    QTest::addColumn<double>("tolerance"); // RMS error allowed, in 16-bit steps; a cut one
    // sample early or late is off by about 2,000

    const QByteArray wav22 = fixtures::toneFile(22050, 1, 8.0);
    const QByteArray wav44 = fixtures::toneFile(44100, 2, 8.0);
    QTest::addRow("22050 Hz mono WAV") << wav22 << 1 << 2500 << 4700 << 1.0;
    QTest::addRow("odd milliseconds round per bound") << wav22 << 1 << 1 << 3 << 1.0;
    QTest::addRow("one millisecond") << wav22 << 1 << 7001 << 7002 << 1.0;
    QTest::addRow("44100 Hz stereo WAV") << wav44 << 2 << 2501 << 4699 << 4.0;
    QTest::addRow("sentence from the very start") << wav44 << 2 << 0 << 1333 << 4.0;
    QTest::addRow("48000 Hz WAV") << fixtures::toneFile(48000, 1, 8.0) << 1 << 3333 << 5111 << 4.0;
    QTest::addRow("16000 Hz WAV, upsampled") << fixtures::toneFile(16000, 1, 8.0) << 1 << 1250 << 3003 << 4.0;
    QTest::addRow("8000 Hz WAV, upsampled") << fixtures::toneFile(8000, 1, 8.0) << 1 << 1250 << 3003 << 6.0;
    QTest::addRow("44100 Hz stereo MP3") << fixtures::mp3Tone(44100, 2, 8.0) << 2 << 5003 << 7499 << 300.0;
    QTest::addRow("22050 Hz mono MP3") << fixtures::mp3Tone(22050, 1, 8.0) << 1 << 2222 << 4444 << 300.0;
}

void TestSentraSound::sentenceSoundIsExactStretch()
{
    QFETCH(QByteArray, sound);
    QFETCH(int, channels);
    QFETCH(int, startMs);
    QFETCH(int, endMs);
    QFETCH(double, tolerance);

    LessonData l;
    l.title = QStringLiteral("Tone");
    l.sound = sound;
    l.sentences = {fixtures::sentence(0, 1000, QStringLiteral("First.")),
                   fixtures::sentence(startMs, endMs, QStringLiteral("The one we cut.")),
                   fixtures::sentence(7500, 7900, QStringLiteral("Last."))};
    const QString path = fixtures::makeBook(QStringLiteral("tone.dat"), {l});
    const int h = bcSentraBook_Open(path, QStringLiteral("r+b"));
    QVERIFY(h >= 0);
    const QString base = fixtures::tmpDir() + QStringLiteral("/rndsnd123");
    QFile::remove(base + ".wav");
    QFile::remove(base + ".mp3");
    // Cut the last sentence first, so the decoder has to seek back.
    QCOMPARE(bcSentence_MakeSndFile(h, 2, 0, 0, nullptr, base, -1, 0), 0);
    int written = -1;
    QCOMPARE(bcSentence_MakeSndFile(h, 1, 0, 0, &written, base, -1, 0), 0);
    bcSentraBook_Close(h);

    const WavFile w = readSound(base + ".wav");
    QCOMPARE(w.info.samplerate, 22050);
    QCOMPARE(w.info.channels, 1);
    QCOMPARE(w.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    const qint64 first = outIndex(startMs);
    const qint64 count = outIndex(endMs) - first;
    QCOMPARE(qint64(w.info.frames), count);
    QCOMPARE(qint64(written), count);
    QVERIFY(!QFile::exists(base + ".mp3")); // the player only opens the WAV

    // Compare with the tone itself; the first 2 ms of the lesson are left out, where the tone
    // starts abruptly and a band-limited conversion rings.
    double err = 0;
    qint64 compared = 0;
    for (qint64 i = 0; i < count; ++i) {
        if (first + i < 44)
            continue;
        const double d = w.samples[size_t(i)] - expectedSample(first + i, channels);
        err += d * d;
        ++compared;
    }
    err = std::sqrt(err / std::max<qint64>(compared, 1));
    QVERIFY2(err <= tolerance, qPrintable(QStringLiteral("RMS error %1").arg(err)));
}

void TestSentraSound::seekingCutEqualsCutFromStart()
{
    // A cut reached by seeking equals the same stretch of a cut decoded from the start.
    for (const QByteArray &sound : {fixtures::toneFile(44100, 2, 6.0), fixtures::mp3Tone(44100, 2, 6.0)}) {
        LessonData l;
        l.sound = sound;
        l.sentences = {fixtures::sentence(0, 6000, QStringLiteral("All of it.")),
                       fixtures::sentence(3217, 4001, QStringLiteral("Part of it.")),
                       fixtures::sentence(5000, 5900, QStringLiteral("Near the end."))};
        const QString path = fixtures::makeBook(QStringLiteral("seek.dat"), {l});
        SentraBook book;
        QVERIFY(book.open(path, false));
        std::vector<qint16> whole, part;
        QVERIFY(book.cutSentence(0, whole));
        QVERIFY(book.cutSentence(2, part));
        QVERIFY(book.cutSentence(1, part));
        const qint64 first = outIndex(3217);
        QCOMPARE(qint64(part.size()), outIndex(4001) - first);
        int worst = 0;
        for (size_t i = 0; i < part.size(); ++i)
            worst = std::max(worst, std::abs(part[i] - whole[size_t(first) + i]));
        QVERIFY2(worst <= 2, qPrintable(QStringLiteral("largest difference %1").arg(worst)));
    }
}

void TestSentraSound::mp3MadeOnlyWhenAsked()
{
    const QString path = fixtures::makeBook(QStringLiteral("mp3.dat"), {fixtures::sampleLesson()});
    const int h = bcSentraBook_Open(path, QStringLiteral("rb"));
    const QString d = fixtures::tmpDir();
    for (const char *f : {"/quiz.wav", "/quiz.mp3", "/digest.wav", "/digest.mp3"})
        QFile::remove(d + QLatin1String(f));

    // Wave flag 0 (the quiz): only the MP3.
    QCOMPARE(bcSentence_MakeSndFile(h, 1, 0, 0, nullptr, d + "/quiz", 0, 0), 0);
    QVERIFY(!QFile::exists(d + "/quiz.wav"));
    const WavFile quiz = readSound(d + "/quiz.mp3");
    QCOMPARE(quiz.info.samplerate, 22050);
    QCOMPARE(quiz.info.channels, 1);
    const qint64 count = outIndex(3000) - outIndex(1200);
    QCOMPARE(qint64(quiz.info.frames), count);
    // 96 kbit/s: 12,000 bytes a second, give or take the frame rounding and the tag.
    const double seconds = count / 22050.0;
    const qint64 size = QFileInfo(d + "/quiz.mp3").size();
    QVERIFY2(size > 12000 * seconds * 0.9 && size < 12000 * seconds * 1.2 + 2000,
             qPrintable(QString::number(size)));

    // The player's WAV, then the MP3 from it when an excerpt asks.
    QCOMPARE(bcSentence_MakeSndFile(h, 1, 0, 0, nullptr, d + "/digest", -1, 0), 0);
    QVERIFY(!QFile::exists(d + "/digest.mp3"));
    QCOMPARE(bcSentence_MakeSndMp3(d + "/digest"), 0);
    const WavFile mp3 = readSound(d + "/digest.mp3");
    QCOMPARE(qint64(mp3.info.frames), count);
    const QDateTime made = QFileInfo(d + "/digest.mp3").lastModified();
    QCOMPARE(bcSentence_MakeSndMp3(d + "/digest"), 0); // already up to date: kept
    QCOMPARE(QFileInfo(d + "/digest.mp3").lastModified(), made);
    QCOMPARE(bcSentence_MakeSndMp3(d + "/nothing-here"), -1);
    QVERIFY(!QFile::exists(d + "/nothing-here.mp3"));
    bcSentraBook_Close(h);
}

void TestSentraSound::brokenSoundFailsWithoutFile()
{
    const QString path = fixtures::makeBook(QStringLiteral("broken.dat"), {fixtures::sampleLesson()});
    {
        mvx::SqliteDb db;
        QVERIFY(db.open(path, mvx::SqliteDb::Mode::ReadWrite));
        QVERIFY(db.exec("UPDATE lesson SET sound = x'0102030405'"));
    }
    const QString d = fixtures::tmpDir();
    QFile::remove(d + "/broken.wav");
    const int h = bcSentraBook_Open(path, QStringLiteral("rb"));
    QVERIFY(h >= 0);
    QCOMPARE(bcSentence_MakeSndFile(h, 1, 0, 0, nullptr, d + "/broken", -1, 0), -1);
    QVERIFY(!QFile::exists(d + "/broken.wav"));
    QCOMPARE(bcSentence_GetPureEnglish(h, 1), fixtures::sampleLesson().sentences[1].english);
    bcSentraBook_Close(h);

    const QString good = fixtures::makeBook(QStringLiteral("fine.dat"), {fixtures::sampleLesson()});
    const int g = bcSentraBook_Open(good, QStringLiteral("rb"));
    QCOMPARE(bcSentence_MakeSndFile(g, 1, 0, 0, nullptr, d + "/no/such/folder/x", -1, 0), -1);
    QCOMPARE(bcSentence_MakeSndFile(g, 1, 0, 0, nullptr, QString(), -1, 0), -1);
    bcSentraBook_Close(g);
}

void TestSentraSound::mp3LengthComesFromTheData_data()
{
    QTest::addColumn<quint64>("claimed");
    QTest::addRow("claims 2^31 - 1 frames") << quint64(0x7FFFFFFF);
    QTest::addRow("claims 2^35 frames") << (quint64(1) << 35);
    QTest::addRow("no length given") << quint64(0);
}

// The sound an MP3 is made from may carry any header: its length is what the data holds,
// and reading it takes memory in proportion to the file, not to the header's claim.
void TestSentraSound::mp3LengthComesFromTheData()
{
    QFETCH(quint64, claimed);
    const int frames = 11025;
    QByteArray bytes = fixtures::toneFile(22050, 1, frames / 22050.0, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    QVERIFY(bytes.startsWith("fLaC"));
    // STREAMINFO's 36-bit total sample count starts in byte 21's low nibble.
    bytes[21] = char((bytes[21] & 0xF0) | int((claimed >> 32) & 0x0F));
    for (int i = 0; i < 4; ++i)
        bytes[22 + i] = char((claimed >> (24 - 8 * i)) & 0xFF);
    const QString base = fixtures::tmpDir() + QStringLiteral("/claims");
    QFile::remove(base + ".mp3");
    QFile wav(base + ".wav");
    QVERIFY(wav.open(QIODevice::WriteOnly) && wav.write(bytes) == bytes.size());
    wav.close();

    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    QString error;
    QVERIFY2(SoundFiles::makeMp3FromWav(base + ".wav", base + ".mp3", 96, &error), qPrintable(error));
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    QCOMPARE_LT(after.ru_maxrss - before.ru_maxrss, 256L * 1024); // kilobytes
    QCOMPARE(qint64(readSound(base + ".mp3").info.frames), qint64(frames));
}

QTEST_GUILESS_MAIN(TestSentraSound)
#include "test_sentra_sound.moc"
