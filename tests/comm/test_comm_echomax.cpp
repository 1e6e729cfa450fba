// Wave segment extraction to the exact sample, in the source's format, and bad input.
#include "CommTestUtil.h"
#include "echomax/EchoMaxLib.h"
#include "echomax/WaveSegment.h"
#include "comm/CommLib.h"

#include <QImage>
#include <QPainter>

#include <QFile>
#include <QTest>

using namespace mvx;
using namespace commtest;

class TestEchoMax : public QObject
{
    Q_OBJECT

    QString m_dir;

    // Sample value = frame number (mod 30000), so every frame is recognisable.
    static QVector<qint16> Ramp(qint64 frames, int channels)
    {
        QVector<qint16> s;
        for (qint64 f = 0; f < frames; ++f)
            for (int c = 0; c < channels; ++c)
                s << qint16((f % 30000) * (c ? -1 : 1));
        return s;
    }

private slots:
    void initTestCase() { m_dir = Scratch(QStringLiteral("echomax")); }

    void extractsExactlyTheRange_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("startMs");
        QTest::addColumn<int>("endMs");
        QTest::addColumn<qint64>("firstFrame");
        QTest::addColumn<qint64>("frames");
        QTest::addRow("sentence sound, 22050 mono") << 22050 << 1 << 1234 << 2345 << qint64(27210) << qint64(24497);
        QTest::addRow("half-sample times round to the nearest") << 22050 << 1 << 1 << 3 << qint64(22) << qint64(44);
        QTest::addRow("stereo 44100 keeps both channels") << 44100 << 2 << 500 << 700 << qint64(22050) << qint64(8820);
        QTest::addRow("end past the sound is clamped") << 8000 << 1 << 2500 << 99999 << qint64(20000) << qint64(4000);
        QTest::addRow("from the very start") << 22050 << 1 << 0 << 10 << qint64(0) << qint64(221);
    }
    void extractsExactlyTheRange()
    {
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(int, startMs);
        QFETCH(int, endMs);
        QFETCH(qint64, firstFrame);
        QFETCH(qint64, frames);
        const QString src = m_dir + QStringLiteral("/src.wav");
        QVERIFY(WriteSound(src, Ramp(qint64(rate) * 3, channels), rate, channels));
        const QString dst = m_dir + QStringLiteral("/cut.wav");
        int work[256] = {};
        QCOMPARE(vcExtractWaveSeg(src, dst, startMs, endMs, work, 1024), 1);
        const SoundInfo info = Probe(dst);
        QCOMPARE(info.rate, rate);
        QCOMPARE(info.channels, channels);
        QCOMPARE(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
        QCOMPARE(info.frames, frames);
        int ch = 0;
        const QVector<qint16> got = ReadAll(dst, &ch);
        QCOMPARE(got.first(), qint16(firstFrame % 30000));
        QCOMPARE(got.at(got.size() - channels), qint16((firstFrame + frames - 1) % 30000));
        if (channels == 2)
            QCOMPARE(got.at(1), qint16(-(firstFrame % 30000)));
        QVERIFY(!QFile::exists(dst + QStringLiteral(".part")));
    }

    void keepsAFlacSourceLossless()
    {
        const QString src = m_dir + QStringLiteral("/src.flac");
        QVERIFY(WriteSound(src, Ramp(22050, 1), 22050, 1, SF_FORMAT_FLAC | SF_FORMAT_PCM_16));
        const QString dst = m_dir + QStringLiteral("/cut.wav"); // a .wav target is WAV
        QCOMPARE(vcExtractWaveSeg(src, dst, 100, 200), 1);
        const QVector<qint16> got = ReadAll(dst);
        QCOMPARE(got.size(), 2205);
        QCOMPARE(got.first(), qint16(2205));
        QCOMPARE(Probe(dst).format & SF_FORMAT_TYPEMASK, SF_FORMAT_WAV);
    }

    void keptDigestNeverShowsAnOldSound()
    {
        // With the wave data kept, opening the digest just made skips the file, but a digest
        // file changed since must be read again, and dropping the copy loses nothing.
        auto picture = [](int handle) {
            QImage image(100, 40, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            vcDigestFile_Draw(handle, &painter, 40, 100, 0, 1, 40);
            return image;
        };
        const QString loud = m_dir + QStringLiteral("/loud.wav"), quiet = m_dir + QStringLiteral("/quiet.wav");
        QVERIFY(WriteSound(loud, Tone(22050, 2000, 20000), 22050, 1));
        QVERIFY(WriteSound(quiet, Tone(22050, 1000, 20000), 22050, 1));
        vcSetVisualWaveDataMan(1);
        const QString digest = m_dir + QStringLiteral("/tmpdigest.tmp"), other = m_dir + QStringLiteral("/other.tmp");
        QCOMPARE(vcMakeWaveDigestFile(quiet, other, 40), 1);
        QCOMPARE(vcMakeWaveDigestFile(loud, digest, 40), 1);
        int h = vcDigestFile_Open(digest);
        QVERIFY(h > 0);
        const QImage loudPicture = picture(h);
        vcDigestFile_Close(h);
        QVERIFY(QFile::remove(digest));
        QVERIFY(QFile::copy(other, digest)); // another sound's digest under the same name
        h = vcDigestFile_Open(digest);
        const QImage quietPicture = picture(h);
        vcDigestFile_Close(h);
        QVERIFY(quietPicture != loudPicture);
        vcCloseDigestFile();
        h = vcDigestFile_Open(digest);
        QVERIFY(h > 0);
        QCOMPARE(picture(h), quietPicture);
        vcDigestFile_Close(h);
        vcSetVisualWaveDataMan(0);
    }

    void badInputLeavesNoFile_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("startMs");
        QTest::addColumn<int>("endMs");
        QTest::addRow("empty range") << "good" << 500 << 500;
        QTest::addRow("reversed range") << "good" << 800 << 200;
        QTest::addRow("range past the end") << "good" << 5000 << 6000;
        QTest::addRow("not a sound") << "text" << 0 << 100;
        QTest::addRow("missing source") << "missing" << 0 << 100;
    }
    void badInputLeavesNoFile()
    {
        QFETCH(QString, source);
        QFETCH(int, startMs);
        QFETCH(int, endMs);
        QVERIFY(WriteSound(m_dir + QStringLiteral("/good.wav"), Ramp(22050, 1), 22050, 1));
        QFile text(m_dir + QStringLiteral("/text.wav"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("plain text");
        text.close();
        const QString dst = m_dir + QStringLiteral("/never.wav");
        QFile::remove(dst);
        QCOMPARE(vcExtractWaveSeg(m_dir + QLatin1Char('/') + source + QStringLiteral(".wav"), dst, startMs, endMs), 0);
        QVERIFY(!QFile::exists(dst));
        QVERIFY(!QFile::exists(dst + QStringLiteral(".part")));
    }
};

QTEST_MAIN(TestEchoMax)
#include "test_comm_echomax.moc"
