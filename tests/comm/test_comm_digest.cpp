// Waveform digests: peaks of a known sound, the digest file, bad input, and drawing the
// player's window at each zoom.
#include "CommTestUtil.h"
#include "comm/CommLib.h"
#include "comm/DigestRenderer.h"
#include "comm/WaveDigest.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTest>

using namespace mvx;
using namespace commtest;

namespace {

constexpr int Rate = 22050;

// 0-1000 ms silence, 1000-2000 tone 16000, 2000-3000 tone 4000, 3000-3500 silence,
// 3503-3513 burst 30000, 3513-3563 silence, 3563-3573 burst 30000, 3573-4000 silence.
QVector<qint16> KnownSound()
{
    QVector<qint16> s(Rate * 4, 0);
    auto put = [&](int fromMs, const QVector<qint16> &part) {
        std::copy(part.begin(), part.end(), s.begin() + qint64(fromMs) * Rate / 1000);
    };
    put(1000, Tone(Rate, 1000, 16000, 500));
    put(2000, Tone(Rate, 1000, 4000, 500));
    QVector<qint16> burst(qint64(Rate) * 10 / 1000, 30000);
    for (qsizetype i = 1; i < burst.size(); i += 2)
        burst[i] = -30000;
    put(3503, burst);
    put(3563, burst);
    return s;
}

bool IsBackground(QRgb p)
{
    return p == qRgb(255, 255, 255);
}

} // namespace

class TestDigest : public QObject
{
    Q_OBJECT

    QString m_dir;
    WaveDigest m_digest;

private slots:
    void initTestCase()
    {
        m_dir = Scratch(QStringLiteral("digest"));
        QVERIFY(WriteSound(m_dir + QStringLiteral("/known.wav"), KnownSound(), Rate, 1));
        QCOMPARE(vcMakeWaveDigestFile(m_dir + QStringLiteral("/known.wav"), m_dir + QStringLiteral("/known.dg"), 40), 1);
        QVERIFY(m_digest.load(m_dir + QStringLiteral("/known.dg")));
    }

    void peaksOfKnownSound_data()
    {
        QTest::addColumn<int>("fromMs");
        QTest::addColumn<int>("toMs");
        QTest::addColumn<int>("expectedMax"); // -1: outside the sound
        QTest::addRow("leading silence") << 0 << 990 << 0;
        QTest::addRow("loud tone") << 1100 << 1900 << 16000;
        QTest::addRow("quiet tone") << 2100 << 2900 << 4000;
        QTest::addRow("first burst alone") << 3503 << 3513 << 30000;
        QTest::addRow("gap between bursts") << 3515 << 3561 << 0;
        QTest::addRow("past the end") << 4000 << 4100 << -1;
    }
    void peaksOfKnownSound()
    {
        QFETCH(int, fromMs);
        QFETCH(int, toMs);
        QFETCH(int, expectedMax);
        const PeakPair p = m_digest.range(m_digest.frameAt(fromMs), m_digest.frameAt(toMs));
        if (expectedMax < 0) {
            QVERIFY(!p.valid);
            return;
        }
        QVERIFY(p.valid);
        QVERIFY2(std::abs(p.max - expectedMax) <= 2, qPrintable(QString::number(p.max)));
        QVERIFY2(std::abs(-p.min - expectedMax) <= 2, qPrintable(QString::number(p.min)));
    }

    void digestHeader()
    {
        QCOMPARE(m_digest.sampleRate(), Rate);
        QCOMPARE(m_digest.totalFrames(), qint64(Rate) * 4);
        QCOMPARE(m_digest.lengthMs(), qint64(4000));
        QCOMPARE(m_digest.peak(), 30000);
        QCOMPARE(m_digest.stepMs(), 40);
        QCOMPARE(m_digest.minima().size(),
                 qsizetype((m_digest.totalFrames() + m_digest.bucketFrames() - 1) / m_digest.bucketFrames()));
        QVERIFY(m_digest.bucketFrames() * 1000 / Rate <= 1); // far finer than the 20 ms of a pixel at zoom 1
    }

    void damagedDigestsAreRefused_data()
    {
        QTest::addColumn<int>("cut");     // bytes kept (-1 all)
        QTest::addColumn<int>("patchAt"); // byte changed (-1 none)
        QTest::addRow("truncated peaks") << 100 << -1;
        QTest::addRow("header only") << 30 << -1;
        QTest::addRow("wrong magic") << -1 << 0;
        QTest::addRow("bucket count mismatch") << -1 << 32;
    }
    void damagedDigestsAreRefused()
    {
        QFETCH(int, cut);
        QFETCH(int, patchAt);
        QFile src(m_dir + QStringLiteral("/known.dg"));
        QVERIFY(src.open(QIODevice::ReadOnly));
        QByteArray bytes = src.readAll();
        if (cut >= 0)
            bytes.truncate(cut);
        if (patchAt >= 0)
            bytes[patchAt] = char(bytes[patchAt] + 1);
        QFile bad(m_dir + QStringLiteral("/bad.dg"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write(bytes);
        bad.close();
        QCOMPARE(vcDigestFile_Open(bad.fileName()), 0);
    }

    void notASoundGivesNoDigest()
    {
        // The old digest under the target name must go, or the last sentence's waveform shows.
        const QString target = m_dir + QStringLiteral("/stale.dg");
        QVERIFY(QFile::copy(m_dir + QStringLiteral("/known.dg"), target));
        QFile text(m_dir + QStringLiteral("/notsound.wav"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("this is plain text, not a wave file\n");
        text.close();
        QCOMPARE(vcMakeWaveDigestFile(text.fileName(), target, 40), 0);
        QVERIFY(!QFile::exists(target));
        QCOMPARE(vcMakeWaveDigestFile(m_dir + QStringLiteral("/missing.wav"), target, 40), 0);
        QCOMPARE(vcDigestFile_Open(target), 0);
        QCOMPARE(vcDigestFile_Open(m_dir + QStringLiteral("/missing.dg")), 0);
    }

    void columnsAtEachZoom_data()
    {
        QTest::addColumn<int>("ratio");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("burst1Column");
        QTest::addColumn<int>("burst2Column");
        QTest::addRow("zoom 1 (20 ms a pixel)") << 1 << 3400 << 5 << 8;
        QTest::addRow("zoom 2 (40 ms a pixel)") << 2 << 3400 << 2 << 4;
        QTest::addRow("zoom 3 (60 ms a pixel)") << 3 << 3300 << 3 << 4;
    }
    void columnsAtEachZoom()
    {
        // Two 10 ms bursts 60 ms apart stay apart wherever a pixel is finer than their distance,
        // each in exactly the column of its time.
        QFETCH(int, ratio);
        QFETCH(int, start);
        QFETCH(int, burst1Column);
        QFETCH(int, burst2Column);
        const QVector<PeakPair> cols = DigestRenderer::Columns(m_digest, 40, start, ratio);
        QCOMPARE(cols.size(), 40);
        QVERIFY(cols[burst1Column].max >= 29998);
        QVERIFY(cols[burst2Column].max >= 29998);
        for (int x = burst1Column + 1; x < burst2Column; ++x)
            QCOMPARE(cols[x].max, qint16(0));
        QCOMPARE(cols[burst1Column - 1].max, qint16(0));
        QCOMPARE(cols[burst2Column + 1].max, qint16(0));
        // Columns that begin past the end of the sound are empty.
        const int msPerPixel = ratio * 20;
        const int firstEmpty = (4000 - start + msPerPixel - 1) / msPerPixel;
        QVERIFY(cols[firstEmpty - 1].valid);
        if (firstEmpty < cols.size())
            QVERIFY(!cols[firstEmpty].valid);
    }

    void pictureMatchesPeaks_data()
    {
        QTest::addColumn<int>("ratio");
        for (int ratio : {1, 2, 3, 4})
            QTest::addRow("zoom %d", ratio) << ratio;
    }
    void pictureMatchesPeaks()
    {
        QFETCH(int, ratio);
        const int width = 600, height = 101;
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        const int handle = vcDigestFile_Open(m_dir + QStringLiteral("/known.dg"));
        QVERIFY(handle > 0);
        {
            QPainter painter(&image);
            QCOMPARE(vcDigestFile_Draw(handle, &painter, height, width, 0, ratio, 40), 1);
        }
        vcDigestFile_Close(handle);
        const QVector<PeakPair> cols = DigestRenderer::Columns(m_digest, width, 0, ratio);
        const int msPerPixel = ratio * 20;
        for (int x = 0; x < width; ++x) {
            int top = height, bottom = -1;
            for (int y = 0; y < height; ++y)
                if (!IsBackground(image.pixel(x, y))) {
                    top = std::min(top, y);
                    bottom = y;
                }
            if (!cols[x].valid) {
                QVERIFY2(bottom < 0, qPrintable(QStringLiteral("drawn past the end at x=%1").arg(x)));
                continue;
            }
            const auto [wantTop, wantBottom] = DigestRenderer::StrokeSpan(cols[x], m_digest.peak(), height);
            QCOMPARE(top, wantTop);
            QCOMPARE(bottom, wantBottom);
            const int t = x * msPerPixel;
            if (t >= 1100 && t + msPerPixel <= 1900) // loud tone: 16000 of the 30000 peak fills about half
                QVERIFY(std::abs((bottom - top) - 53) <= 2);
            if (t + msPerPixel <= 990) // silence: only the middle line
                QCOMPARE(bottom - top, 0);
        }
    }

    void drawRefusesBadArguments()
    {
        QImage image(50, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        const int handle = vcDigestFile_Open(m_dir + QStringLiteral("/known.dg"));
        QCOMPARE(vcDigestFile_Draw(handle + 1000, &painter, 20, 50, 0, 2, 40), 0);
        QCOMPARE(vcDigestFile_Draw(handle, nullptr, 20, 50, 0, 2, 40), 0);
        QCOMPARE(vcDigestFile_Draw(handle, &painter, 20, 50, 0, 0, 40), 0);
        QCOMPARE(vcDigestFile_Draw(handle, &painter, 0, 50, 0, 2, 40), 0);
        // A window past the sound draws nothing.
        QCOMPARE(vcDigestFile_Draw(handle, &painter, 20, 50, 60000, 2, 40), 1);
        painter.end();
        for (int x = 0; x < 50; ++x)
            for (int y = 0; y < 20; ++y)
                QVERIFY(IsBackground(image.pixel(x, y)));
        vcDigestFile_Close(handle);
        QCOMPARE(vcDigestFile_Draw(handle, nullptr, 20, 50, 0, 2, 40), 0);
    }
};

QTEST_MAIN(TestDigest)
#include "test_comm_digest.moc"
