// Line files (limits with Chinese text, encodings, bad files), MP3 encoding and the
// small text helpers.
#include "CommTestUtil.h"
#include "comm/CommLib.h"
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
