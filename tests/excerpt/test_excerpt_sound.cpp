// The excerpts' one sound path: padding over quiet frames, levelling, MP3 of exact length.
#include "ExcerptFixtures.h"
#include "libs/sentra/SoundFiles.h"
#include "player/excerpt/ClipMaker.h"
#include "player/excerpt/Levelling.h"

#include <QtTest>

#include <ebur128.h>

#include <cmath>

using namespace mvx;
using namespace mvx::excerpt;

namespace {

// Speech bursts at known times: 80-1000, 1300-2000, 2050-3000, 3500-5950 of a 6000 ms sound.
const QList<excerptfix::Burst> kBursts = {{80, 1000, 0.5}, {1300, 2000, 0.5}, {2050, 3000, 0.5}, {3500, 5950, 0.5}};

double PeakOf(const std::vector<qint16> &s)
{
    int peak = 0;
    for (qint16 v : s)
        peak = std::max(peak, std::abs(int(v)));
    return peak;
}

Loudness LoudnessOf(const std::vector<qint16> &s)
{
    std::vector<float> f(s.size());
    for (size_t i = 0; i < s.size(); ++i)
        f[i] = s[i] / 32768.0f;
    return MeasureLoudness(f, ClipRate);
}

// The true peak as libebur128 measures it over the whole clip, never under the sample peak.
double WholeClipTruePeakDb(const std::vector<float> &f, int rate)
{
    ebur128_state *st = ebur128_init(1, unsigned(rate), EBUR128_MODE_TRUE_PEAK);
    double peak = 0;
    ebur128_add_frames_float(st, f.data(), f.size());
    ebur128_true_peak(st, 0, &peak);
    ebur128_destroy(&st);
    for (const float v : f)
        peak = std::max(peak, double(std::fabs(v)));
    return 20.0 * std::log10(peak);
}

} // namespace

Q_DECLARE_METATYPE(QList<excerptfix::Burst>)

class TestExcerptSound : public QObject
{
    Q_OBJECT
    QString m_bookPath;

private slots:
    void initTestCase()
    {
        sentra::LessonData l;
        l.title = QStringLiteral("Bursts");
        l.sound = excerptfix::burstWav(kBursts, 6000);
        for (const auto &b : kBursts)
            l.sentences.append(fixtures::sentence(b.startMs, b.endMs, QStringLiteral("Words %1.").arg(b.startMs)));
        m_bookPath = fixtures::makeBook(QStringLiteral("bursts.dat"), {l});
    }

    void padRangeMaths_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("pad");
        QTest::addColumn<QList<bool>>("before");
        QTest::addColumn<QList<bool>>("after");
        QTest::addColumn<int>("wantStart");
        QTest::addColumn<int>("wantEnd");
        const QList<bool> quiet(20, false);
        QList<bool> speechAt3 = quiet;
        speechAt3[3] = true;
        QTest::newRow("all quiet: full pad") << 1000 << 2000 << 150 << quiet << quiet << 850 << 2150;
        QTest::newRow("speech in the 4th frame") << 1000 << 2000 << 150 << speechAt3 << speechAt3 << 970 << 2030;
        QTest::newRow("pad not a whole number of frames") << 1000 << 2000 << 155 << quiet << quiet << 850 << 2150;
        QTest::newRow("near 0: a part frame reaches 0") << 85 << 2000 << 150 << QList<bool>(9, false) << quiet << 0 << 2150;
        QTest::newRow("sound ends at 2100") << 1000 << 2000 << 150 << quiet << QList<bool>(10, false) << 850 << 2100;
        QTest::newRow("pad 0") << 1000 << 2000 << 0 << quiet << quiet << 1000 << 2000;
    }
    void padRangeMaths()
    {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(int, pad);
        QFETCH(QList<bool>, before);
        QFETCH(QList<bool>, after);
        QFETCH(int, wantStart);
        QFETCH(int, wantEnd);
        const qint64 soundMs = QTest::currentDataTag() == QByteArray("sound ends at 2100") ? 2100 : 10000;
        const MsRange r = PadRange({start, end}, pad, soundMs, std::vector<bool>(before.begin(), before.end()),
                                   std::vector<bool>(after.begin(), after.end()));
        QCOMPARE(r.startMs, qint64(wantStart));
        QCOMPARE(r.endMs, qint64(wantEnd));
    }

    void padsRealSentencesOverQuietOnly_data()
    {
        QTest::addColumn<int>("sentence");
        QTest::addColumn<int>("pad");
        QTest::addColumn<int>("wantStart");
        QTest::addColumn<int>("wantEnd");
        QTest::newRow("first sentence at 80 ms: pad stops at 0") << 0 << 150 << 0 << 1150;
        QTest::newRow("full pad before, speech 50 ms after") << 1 << 150 << 1150 << 2050;
        QTest::newRow("speech 50 ms before, full pad after") << 2 << 150 << 2000 << 3150;
        QTest::newRow("last sentence near the end") << 3 << 150 << 3350 << 6000;
        QTest::newRow("pad 0: the sentence as stored") << 1 << 0 << 1300 << 2000;
        QTest::newRow("a long pad stops at the neighbours") << 1 << 1000 << 1000 << 2050;
    }
    void padsRealSentencesOverQuietOnly()
    {
        QFETCH(int, sentence);
        QFETCH(int, pad);
        QFETCH(int, wantStart);
        QFETCH(int, wantEnd);
        sentra::SentraBook book;
        QVERIFY(book.open(m_bookPath, false));
        BookStretches source(book);
        const auto s = book.sentence(sentence);
        QVERIFY(s.has_value());
        Clip clip;
        QString error;
        QVERIFY2(SentenceClip(source, 0, {s->startMs, s->endMs}, pad, clip, &error), qPrintable(error));
        QCOMPARE(clip.range, (MsRange{wantStart, wantEnd}));
        const qint64 want = SampleAt(wantEnd) - SampleAt(wantStart);
        QCOMPARE(qint64(clip.samples.size()), want);

        // The MP3 decodes to exactly the range's samples.
        QByteArray mp3;
        QVERIFY(EncodeClip(clip, mp3, &error));
        const QString path = fixtures::tmpDir() + QStringLiteral("/clip.mp3");
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(mp3);
        out.close();
        int rate = 0;
        const std::vector<qint16> decoded = excerptfix::decode(path, &rate);
        QCOMPARE(rate, ClipRate);
        QCOMPARE(qint64(decoded.size()), want);
    }

    // The true peak is measured over the loud stretches only, with silence between them; it
    // must come out as over the whole clip wherever the peak lies.
    void truePeakOfLoudPartsMatchesWholeClip_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<int>("peakAt"); // a burst whose peaks lie between samples (-1: none)
        const int n = 5 * ClipRate;
        QTest::newRow("peak at the start") << "bursts" << 0;
        QTest::newRow("peak at the end") << "bursts" << n - 8;
        QTest::newRow("peak at a burst's end") << "bursts" << 1500 * 7 - 300 - 8;
        QTest::newRow("peak after a short gap") << "bursts" << 1500 * 5 - 50;
        QTest::newRow("no peak between samples") << "bursts" << -1;
        QTest::newRow("one click in a quiet tone") << "click" << -1;
        QTest::newRow("white noise") << "noise" << n / 2;
    }
    void truePeakOfLoudPartsMatchesWholeClip()
    {
        QFETCH(QString, base);
        QFETCH(int, peakAt);
        std::vector<float> f(size_t(5 * ClipRate));
        QRandomGenerator random(7);
        const int gaps[] = {50, 130, 300}; // merged into one stretch, and apart
        for (size_t i = 0; i < f.size(); ++i) {
            const int at = int(i);
            const double tone = std::sin(2 * M_PI * 150 * at / ClipRate);
            if (base == QLatin1String("bursts"))
                f[i] = at % 1500 < 1500 - gaps[at / 1500 % 3] ? float(0.3 * tone) : 0.0f;
            else if (base == QLatin1String("click"))
                f[i] = at == 40000 ? 0.99f : float(0.05 * tone);
            else
                f[i] = float(random.bounded(1.0) - 0.5);
            // A quarter of the rate at 45 degrees: the samples reach 0.71 of the peak between them.
            if (peakAt >= 0 && at >= peakAt && at < peakAt + 8)
                f[i] = float(0.6 * std::sin(M_PI / 2 * at + M_PI / 4));
        }
        const Loudness l = MeasureLoudness(f, ClipRate);
        QCOMPARE(l.truePeakDb, WholeClipTruePeakDb(f, ClipRate));

        // The levelling gain skips the true peak where it cannot bind: at every level (raised,
        // held at the ceiling, lowered) and for a part too short for a loudness, the same gain.
        for (const double scale : {0.02, 0.1, 0.3, 1.0, 1.6}) {
            for (const size_t length : {f.size(), size_t(ClipRate / 4)}) {
                std::vector<float> g(f.begin(), f.begin() + qsizetype(length));
                for (float &v : g)
                    v = float(std::clamp(v * scale, -1.0, 1.0));
                const double full = LevelGainDb(MeasureLoudness(g, ClipRate));
                QVERIFY2(std::abs(LevelGainDb(g, ClipRate) - full) < 1e-6,
                         qPrintable(QStringLiteral("scale %1, %2 samples: %3 against %4")
                                        .arg(scale).arg(length).arg(LevelGainDb(g, ClipRate)).arg(full)));
            }
        }
    }

    void levelsLoudness_data()
    {
        QTest::addColumn<QList<excerptfix::Burst>>("bursts");
        QTest::addColumn<int>("lengthMs");
        QTest::addColumn<QString>("expect");
        QTest::newRow("quiet raised") << QList<excerptfix::Burst>{{0, 4000, 0.01}} << 4000 << "target";
        QTest::newRow("loud lowered") << QList<excerptfix::Burst>{{0, 4000, 0.95}} << 4000 << "target";
        // A quiet tone with one loud click: reaching -16 LUFS would push the peak past -1 dBTP.
        QTest::newRow("peaky held at the ceiling")
            << QList<excerptfix::Burst>{{0, 1800, 0.05}, {1800, 1810, 0.99}, {1810, 4000, 0.05}} << 4000 << "ceiling";
        QTest::newRow("short not raised") << QList<excerptfix::Burst>{{0, 300, 0.02}} << 300 << "unchanged";
        QTest::newRow("silent not raised") << QList<excerptfix::Burst>{} << 2000 << "silent";
    }
    void levelsLoudness()
    {
        QFETCH(QList<excerptfix::Burst>, bursts);
        QFETCH(int, lengthMs);
        QFETCH(QString, expect);
        sentra::LessonData l;
        l.title = QStringLiteral("Level");
        l.sound = excerptfix::burstWav(bursts, lengthMs);
        l.sentences.append(fixtures::sentence(0, lengthMs, QStringLiteral("All of it.")));
        sentra::SentraBook book;
        QVERIFY(book.open(fixtures::makeBook(QStringLiteral("level.dat"), {l}), false));
        BookStretches source(book);
        std::vector<qint16> raw;
        QVERIFY(source.Cut(0, 0, lengthMs, raw, nullptr));
        Clip clip;
        QString error;
        QVERIFY(StretchClip(source, 0, {0, lengthMs}, clip, &error));
        const Loudness before = LoudnessOf(clip.samples);
        if (expect == QLatin1String("target")) {
            QVERIFY2(std::abs(before.integratedLufs - TargetLufs) <= 0.5, qPrintable(QString::number(before.integratedLufs)));
        } else if (expect == QLatin1String("ceiling")) {
            QVERIFY(before.truePeakDb <= CeilingDbtp + 0.05);
            QVERIFY(before.truePeakDb >= CeilingDbtp - 0.3);
            QVERIFY(before.integratedLufs < TargetLufs - 0.5);
        } else if (expect == QLatin1String("unchanged")) {
            QVERIFY(!LoudnessOf(raw).hasLoudness());
            QCOMPARE(PeakOf(clip.samples), PeakOf(raw));
        } else {
            QCOMPARE(PeakOf(clip.samples), 0.0);
        }
        // Encoded and decoded: still on target (within 1 LU), and nothing clipped.
        QByteArray mp3;
        QVERIFY(EncodeClip(clip, mp3, &error));
        const QString path = fixtures::tmpDir() + QStringLiteral("/level.mp3");
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(mp3);
        out.close();
        const std::vector<qint16> decoded = excerptfix::decode(path);
        QCOMPARE(decoded.size(), clip.samples.size());
        QVERIFY(PeakOf(decoded) < 32767);
        if (expect == QLatin1String("target"))
            QVERIFY(std::abs(LoudnessOf(decoded).integratedLufs - TargetLufs) <= 1.0);
    }
};

QTEST_GUILESS_MAIN(TestExcerptSound)
#include "test_excerpt_sound.moc"
