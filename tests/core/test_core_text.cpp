#include "core/TextCodec.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace mvx;

class TestCoreText : public QObject
{
    Q_OBJECT

private slots:
    void decoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("encoding");
        const QString text = QStringLiteral("FILE 文化习俗.dat");
        QTest::addRow("utf-8") << text.toUtf8() << int(TextEncoding::Utf8);
        QTest::addRow("utf-8 with BOM") << QByteArray("\xEF\xBB\xBF") + text.toUtf8() << int(TextEncoding::Utf8Bom);
        QTest::addRow("gbk") << EncodeText(text, TextEncoding::Gb18030) << int(TextEncoding::Gb18030);
    }

    void decoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, encoding);
        TextEncoding detected;
        QCOMPARE(DecodeText(bytes, &detected), QStringLiteral("FILE 文化习俗.dat"));
        QCOMPARE(int(detected), encoding);
    }

    void gbkBytesOfKnownText()
    {
        // "中文" is D6D0 CEC4 in GBK.
        QCOMPARE(EncodeText(QStringLiteral("中文"), TextEncoding::Gb18030), QByteArray("\xD6\xD0\xCE\xC4"));
        QVERIFY(!IsValidUtf8(QByteArray("\xD6\xD0\xCE\xC4")));
        QVERIFY(!IsValidUtf8(QByteArray("abc\xE4\xB8")));  // cut inside a character
        QVERIFY(IsValidUtf8(QByteArray("abc\xE4\xB8\xAD")));
        // Only the shortest forms of real characters count as UTF-8.
        for (const char *bad : {"\xE0\x80\xAF", "\xED\xA0\x80", "\xF0\x80\x80\x80", "\xF4\x90\x80\x80"})
            QVERIFY2(!IsValidUtf8(QByteArray(bad)), bad);
        for (const char *good : {"\xE0\xA0\x80", "\xED\x9F\xBF", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF"})
            QVERIFY2(IsValidUtf8(QByteArray(good)), good);
        // GBK bytes that form a surrogate and a character in UTF-8's pattern are read as GBK.
        const QString gbkText = QStringLiteral("怼班啊");
        TextEncoding detected = TextEncoding::Utf8;
        QCOMPARE(DecodeText(EncodeText(gbkText, TextEncoding::Gb18030), &detected), gbkText);
        QCOMPARE(detected, TextEncoding::Gb18030);
    }

    void lineLimitsCountGbkBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("kept");
        QTest::addRow("ascii fits") << "abcdef" << 6 << "abcdef";
        QTest::addRow("ascii cut") << "abcdef" << 4 << "abcd";
        QTest::addRow("Chinese counts two") << "中文字" << 4 << "中文";
        QTest::addRow("never half a character") << "a中文" << 4 << "a中";
        QTest::addRow("mixed exact") << "a中b" << 4 << "a中b";
        QTest::addRow("rare character counts four") << QString::fromUtf8("\xF0\xA0\x80\x80") + "x" << 4
                                                    << QString::fromUtf8("\xF0\xA0\x80\x80");
    }

    void lineLimitsCountGbkBytes()
    {
        QFETCH(QString, text);
        QFETCH(int, limit);
        QFETCH(QString, kept);
        const QString cut = CutToGbkBytes(text, limit);
        QCOMPARE(cut, kept);
        QVERIFY(GbkByteLength(cut) <= limit);
    }

    void fileKeepsItsEncoding()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("index.txt"));
        const QStringList lines = {QStringLiteral("CLAS 1 科技"), QStringLiteral("FILE 2 文章||书.dat")};
        QVERIFY(WriteTextFile(path, lines, TextEncoding::Gb18030));
        const TextFileContent read = ReadTextFile(path);
        QVERIFY(read.ok);
        QCOMPARE(read.encoding, TextEncoding::Gb18030);
        QCOMPARE(read.lines, lines);
        QFile raw(path);
        QVERIFY(raw.open(QIODevice::ReadOnly));
        QVERIFY(raw.readAll().endsWith("\r\n"));
        QVERIFY(!ReadTextFile(dir.filePath(QStringLiteral("missing.txt"))).ok);
    }

    // Found by fuzzing the index editor: a GBK index whose text begins "锘緾" would be written
    // as EF BB BF 43 ..., which reads back as UTF-8 with a byte-order mark ("CLAS..."). Such
    // a file is written as UTF-8 instead, so it reads back as the same lines.
    void fileReadsBackAsWritten()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("index.txt"));
        const QStringList lines = {QStringLiteral("锘緾LAS0001科技||a"), QStringLiteral("FILE文章|sentra|书.dat|0|0")};
        QVERIFY(WriteTextFile(path, lines, TextEncoding::Gb18030));
        const TextFileContent read = ReadTextFile(path);
        QCOMPARE(read.lines, lines);
        QCOMPARE(read.encoding, TextEncoding::Utf8);
    }
};

QTEST_GUILESS_MAIN(TestCoreText)
#include "test_core_text.moc"
