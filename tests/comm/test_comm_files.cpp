// Line files (limits with Chinese text, encodings, bad files), MP3 encoding and the
// small text helpers.
#include "CommTestUtil.h"
#include "comm/CommLib.h"
#include "comm/SoundIo.h"
#include "core/TextCodec.h"

#include <QFile>
#include <QTest>

using namespace mvx;
using namespace commtest;

class TestFiles : public QObject
{
    Q_OBJECT

    QString m_dir;

    QString writeBytes(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir + QLatin1Char('/') + name;
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

    static QStringList ReadAllLines(const QString &path, int maximum, QList<int> *lengths = nullptr)
    {
        VbFileRecord rec;
        QStringList lines;
        if (vcOpenFileForVb(rec, path, QStringLiteral("rb")) == -1)
            return {QStringLiteral("<cannot open>")};
        QString line;
        for (int n; (n = vcReadFileForVb(rec, line, maximum, -1, -1)) != -1;) {
            lines << line;
            if (lengths)
                *lengths << n;
        }
        vcCloseFileForVb(rec);
        return lines;
    }

private slots:
    void initTestCase() { m_dir = Scratch(QStringLiteral("files")); }

    void readsLinesWithinLimits_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QList<int>>("lengths");
        const QByteArray utf8 = QStringLiteral("中文abc\r\n\r\nlast").toUtf8();
        QTest::addRow("UTF-8, CR LF, empty line, no final end")
            << utf8 << 0 << QStringList{"中文abc", "", "last"} << QList<int>{7, 0, 4};
        QTest::addRow("limit falls inside a Chinese character")
            << utf8 << 3 << QStringList{"中", "", "las"} << QList<int>{2, 0, 3};
        QTest::addRow("limit on a character boundary")
            << utf8 << 4 << QStringList{"中文", "", "last"} << QList<int>{4, 0, 4};
        QTest::addRow("GB18030 file read as such")
            << EncodeText(QStringLiteral("节目索引\n第二行\n"), TextEncoding::Gb18030) << 5
            << QStringList{"节目", "第二"} << QList<int>{4, 4};
        QTest::addRow("UTF-8 with BOM, LF ends")
            << QByteArray("\xEF\xBB\xBF") + QStringLiteral("CLAS0001名字\nFILE").toUtf8() << 198
            << QStringList{"CLAS0001名字", "FILE"} << QList<int>{12, 4};
        QTest::addRow("text ends at a NUL") << QByteArray("abc\0def\nxyz\n", 12) << 0 << QStringList{"abc", "xyz"}
                                            << QList<int>{3, 3};
        QTest::addRow("empty file") << QByteArray() << 0 << QStringList{} << QList<int>{};
    }
    void readsLinesWithinLimits()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, maximum);
        QFETCH(QStringList, expected);
        QFETCH(QList<int>, lengths);
        QList<int> got;
        QCOMPARE(ReadAllLines(writeBytes(QStringLiteral("in.txt"), bytes), maximum, &got), expected);
        QCOMPARE(got, lengths);
    }

    void badFilesFailCleanly()
    {
        VbFileRecord rec;
        QCOMPARE(vcOpenFileForVb(rec, m_dir + QStringLiteral("/missing.txt"), QStringLiteral("rb")), -1);
        QCOMPARE(vcOpenFileForVb(rec, m_dir, QStringLiteral("rb")), -1); // a folder
        QCOMPARE(vcOpenFileForVb(rec, m_dir + QStringLiteral("/no/such/folder/x.txt"), QStringLiteral("wb")), -1);
        QCOMPARE(vcOpenFileForVb(rec, m_dir + QStringLiteral("/x.txt"), QStringLiteral("zz")), -1);
        QString line = QStringLiteral("old");
        QCOMPARE(vcReadFileForVb(rec, line, 100), -1); // never opened
        QVERIFY(line.isEmpty());
        QCOMPARE(vcWriteFileForVb(rec, QStringLiteral("x")), -1);
        QCOMPARE(vcCloseFileForVb(rec), -1);
        // A file opened for reading takes no writes, and a written one no reads.
        const QString path = writeBytes(QStringLiteral("r.txt"), "a\n");
        QVERIFY(vcOpenFileForVb(rec, path, QStringLiteral("rb")) > 0);
        QCOMPARE(vcWriteFileForVb(rec, QStringLiteral("x")), -1);
        QCOMPARE(vcCloseFileForVb(rec), 1);
        QCOMPARE(vcReadFileForVb(rec, line, 10), -1); // closed
    }

    void writtenFileAppearsWholeAtClose()
    {
        const QString path = m_dir + QStringLiteral("/segment.txt");
        writeBytes(QStringLiteral("segment.txt"), "old content\n");
        VbFileRecord rec;
        QVERIFY(vcOpenFileForVb(rec, path, QStringLiteral("wb")) > 0);
        QCOMPARE(vcWriteFileForVb(rec, QStringLiteral("Ocean life is rich.\r\n")), 1);
        QCOMPARE(vcWriteFileForVb(rec, QStringLiteral("海洋生物很丰富。\r\n")), 1);
        // Until closed, the old file is intact (nothing half-written).
        QCOMPARE(ReadAllLines(path, 0), QStringList{"old content"});
        QCOMPARE(vcCloseFileForVb(rec), 1);
        QCOMPARE(ReadAllLines(path, 0), (QStringList{"Ocean life is rich.", "海洋生物很丰富。"}));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(IsValidUtf8(f.readAll()));
    }

    void appendKeepsTheFilesEncoding()
    {
        const QString path = writeBytes(QStringLiteral("gbk.txt"),
                                        EncodeText(QStringLiteral("第一行\r\n"), TextEncoding::Gb18030));
        VbFileRecord rec;
        QVERIFY(vcOpenFileForVb(rec, path, QStringLiteral("ab")) > 0);
        vcWriteFileForVb(rec, QStringLiteral("第二行\r\n"));
        QCOMPARE(vcCloseFileForVb(rec), 1);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(!IsValidUtf8(bytes));
        QCOMPARE(DecodeText(bytes), QStringLiteral("第一行\r\n第二行\r\n"));
    }

    void mp3KeepsTheSound()
    {
        const QString wav = m_dir + QStringLiteral("/s.wav");
        QVERIFY(WriteSound(wav, Tone(22050, 2000, 12000), 22050, 1));
        const QString mp3 = m_dir + QStringLiteral("/s.mp3");
        QCOMPARE(vcEncodeWavToMp3(wav, mp3, 96), 1);
        const SoundInfo info = Probe(mp3);
        QCOMPARE(info.format & SF_FORMAT_TYPEMASK, SF_FORMAT_MPEG);
        QCOMPARE(info.rate, 22050);
        // Encoder and decoder delays add at most a few frames of 1152 samples.
        QVERIFY2(std::abs(info.frames - 44100) < 3 * 1152, qPrintable(QString::number(info.frames)));
        // 96 kbit/s for 2 s: about 24 KB.
        QVERIFY(std::abs(QFile(mp3).size() - 24000) < 3000);
        // Not a sound: no MP3 at all, and an old one is not damaged.
        const QString text = writeBytes(QStringLiteral("t.wav"), "text");
        const qint64 before = QFile(mp3).size();
        QCOMPARE(vcEncodeWavToMp3(text, mp3, 96), 0);
        QCOMPARE(QFile(mp3).size(), before);
        QCOMPARE(vcEncodeWavToMp3(wav, m_dir + QStringLiteral("/no/folder/s.mp3"), 96), 0);
    }

    // A header's length sizes no buffer the file could not fill: the sound is what the file
    // holds, whatever its header claims, and a missing length reads the whole stream.
    void soundLengthComesFromTheData_data()
    {
        QTest::addColumn<quint64>("claimed");
        QTest::addRow("claims 2^31 - 1 frames") << quint64(0x7FFFFFFF);
        QTest::addRow("claims 2^35 frames") << (quint64(1) << 35);
        QTest::addRow("claims twice its length") << quint64(2400);
        QTest::addRow("no length given") << quint64(0);
    }

    void soundLengthComesFromTheData()
    {
        QFETCH(quint64, claimed);
        const QString flac = m_dir + QStringLiteral("/claims.flac");
        const QVector<qint16> tone = Tone(8000, 150, 9000);
        QVERIFY(WriteSound(flac, tone, 8000, 1, SF_FORMAT_FLAC | SF_FORMAT_PCM_16));
        QVERIFY(ClaimFlacFrames(flac, claimed));
        MonoSound sound;
        QString error;
        QVERIFY2(SoundIo::ReadMono(flac, sound, &error), qPrintable(error));
        QCOMPARE(sound.samples.size(), tone.size());
        QCOMPARE_LT(sound.samples.capacity(), qsizetype(1) << 20);
        for (qsizetype i = 0; i < tone.size(); i += 97)
            QVERIFY2(std::abs(sound.samples[i] - tone[i]) <= 1, qPrintable(QString::number(i)));
    }

    void textHelpers()
    {
        QString s = QStringLiteral("word  \t\r\n");
        StrongRtrim(s);
        QCOMPARE(s, QStringLiteral("word"));
        s = QStringLiteral("ab ") + QChar(0) + QStringLiteral("junk");
        StrongRtrim(s);
        QCOMPARE(s, QStringLiteral("ab"));
        QCOMPARE(vcMystrlen(QStringLiteral("/home/x") + QChar(0) + QStringLiteral("yy")), 7);
        QCOMPARE(vcStrcmp(QStringLiteral("abc"), QStringLiteral("abc") + QChar(0) + QStringLiteral("z")), 0);
        QVERIFY(vcStrcmp(QStringLiteral("abc"), QStringLiteral("abd")) < 0);
        QCOMPARE(vcBitAnd(6, 3), qint64(2));
    }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "test_comm_files.moc"
