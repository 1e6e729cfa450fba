#include "core/TextCodec.h"
#include "library/ArticleIndex.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace mvx;

namespace {
// "key<TAB>label" lines, with the parent's key after a second tab.
QStringList shape(const ArticleTree &tree)
{
    QStringList out;
    for (const ArticleNode &n : tree.nodes)
        out << n.key + QLatin1Char('\t') + n.label + QLatin1Char('\t')
                + (n.parent < 0 ? QString() : tree.nodes[n.parent].key);
    return out;
}
} // namespace

class TestLibraryIndex : public QObject
{
    Q_OBJECT

private slots:
    void trees_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("stoppedAt");

        QTest::addRow("keys of each kind")
            << QStringList{"CLAS0001文化习俗||brxspecial", "CLAS0002节日", "FILE春节|sentra|文化习俗.dat|0|0"}
            << QStringList{"ROOT0001-0001\t文化习俗\t", "ROOT00010002-0002\t节日\tROOT0001-0001",
                           "sentra|文化习俗.dat|0|0|brxspecial-0003\t春节\tROOT00010002-0002"}
            << 0;
        QTest::addRow("siblings, then a deeper child")
            << QStringList{"CLAS0001A||f", "CLAS0002B", "CLAS0002C", "CLAS0003D"}
            << QStringList{"ROOT0001-0001\tA\t", "ROOT00010002-0002\tB\tROOT0001-0001",
                           "ROOT00010002-0003\tC\tROOT0001-0001", "ROOT000100020003-0004\tD\tROOT00010002-0003"}
            << 0;
        QTest::addRow("level jumps under a top category")
            << QStringList{"CLAS0001A||f", "CLAS0003Deep", "FILEx|sentra|b.dat|2|0"}
            << QStringList{"ROOT0001-0001\tA\t", "ROOT00010003-0002\tDeep\tROOT0001-0001",
                           "sentra|b.dat|2|0|f-0003\tx\tROOT00010003-0002"}
            << 0;
        QTest::addRow("second top category, new folder, new R")
            << QStringList{"CLAS0001A||f1", "FILEa|sentra|a.dat|0|0", "CLAS0001B||f2", "FILEb|sentra|b.dat|1|0"}
            << QStringList{"ROOT0001-0001\tA\t", "sentra|a.dat|0|0|f1-0002\ta\tROOT0001-0001",
                           "ROOT0002-0003\tB\t", "sentra|b.dat|1|0|f2-0004\tb\tROOT0002-0003"}
            << 0;
        QTest::addRow("back up to a shallower level")
            << QStringList{"CLAS0001A||f", "CLAS0002B", "CLAS0003C", "CLAS0002D"}
            << QStringList{"ROOT0001-0001\tA\t", "ROOT00010002-0002\tB\tROOT0001-0001",
                           "ROOT000100020003-0003\tC\tROOT00010002-0002", "ROOT00010002-0004\tD\tROOT0001-0001"}
            << 0;
        QTest::addRow("a lower level stays under a category shallow enough to hold it")
            << QStringList{"CLAS0001A||f", "CLAS0005E", "CLAS0004D", "CLAS0002F"}
            << QStringList{"ROOT0001-0001\tA\t", "ROOT00010005-0002\tE\tROOT0001-0001",
                           "ROOT000100050004-0003\tD\tROOT00010005-0002", "ROOT00010002-0004\tF\tROOT0001-0001"}
            << 0;
        QTest::addRow("unknown and lower-case lines are skipped")
            << QStringList{"; comment", "CLAS0001A||f", "clas0002x", "", "FILEa|sentra|a.dat|0|0"}
            << QStringList{"ROOT0001-0001\tA\t", "sentra|a.dat|0|0|f-0002\ta\tROOT0001-0001"}
            << 0;
        QTest::addRow("top category without || stops loading")
            << QStringList{"CLAS0001A||f", "FILEa|sentra|a.dat|0|0", "CLAS0001B", "FILEb|sentra|b.dat|0|0"}
            << QStringList{"ROOT0001-0001\tA\t", "sentra|a.dat|0|0|f-0002\ta\tROOT0001-0001"}
            << 3;
        QTest::addRow("article without | stops loading")
            << QStringList{"CLAS0001A||f", "FILEbroken", "FILEa|sentra|a.dat|0|0"}
            << QStringList{"ROOT0001-0001\tA\t"} << 2;
        QTest::addRow("article with fewer than four fields stops loading")
            << QStringList{"CLAS0001A||f", "FILEa|sentra|a.dat|0|0", "FILEb|sentra|b.dat|1", "FILEc|sentra|c.dat|2|0"}
            << QStringList{"ROOT0001-0001\tA\t", "sentra|a.dat|0|0|f-0002\ta\tROOT0001-0001"} << 3;
        QTest::addRow("article before any category stops loading")
            << QStringList{"FILEa|sentra|a.dat|0|0", "CLAS0001A||f"} << QStringList{} << 1;
        QTest::addRow("sub-category before any category stops loading")
            << QStringList{"CLAS0002B", "CLAS0001A||f"} << QStringList{} << 1;
    }

    void trees()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, expected);
        QFETCH(int, stoppedAt);
        const ArticleTree tree = ArticleIndex::build(QStringLiteral("BrxSpecialIdx.txt"), lines);
        QCOMPARE(shape(tree), expected);
        QCOMPARE(tree.stoppedAtLine, stoppedAt);
        QCOMPARE(tree.message.isEmpty(), stoppedAt == 0);
        if (stoppedAt > 0)
            QVERIFY2(tree.message.contains(QStringLiteral("第 %1 行").arg(stoppedAt)), qPrintable(tree.message));
    }

    void articleKeysParse()
    {
        const auto info = ArticleIndex::parseArticleKey(QStringLiteral("sentra|文化习俗.dat|3|7|brxspecial-0003"));
        QVERIFY(info);
        QCOMPARE(info->fileType, QStringLiteral("sentra"));
        QCOMPARE(info->bookFile, QStringLiteral("文化习俗.dat"));
        QCOMPARE(info->lessonNo, 3);
        QCOMPARE(info->fourthField, 7);
        QCOMPARE(info->fileName(), QStringLiteral("brxspecial/文化习俗.dat"));
        QVERIFY(!ArticleIndex::parseArticleKey(QStringLiteral("ROOT0001-0001")));
        QVERIFY(!ArticleIndex::parseArticleKey(QStringLiteral("junk")));
        QCOMPARE(ArticleIndex::categoryDepth(QStringLiteral("ROOT0001-0001")), 1);
        QCOMPARE(ArticleIndex::categoryDepth(QStringLiteral("ROOT000100020003-0004")), 3);
    }

    void folderOfTheIndexPrefixesLibraryFolders()
    {
        const ArticleTree tree = ArticleIndex::build(QStringLiteral("lib\\BrxSpecialIdx.txt"),
                                                     {QStringLiteral("CLAS0001A||books"), QStringLiteral("FILEa|sentra|a.dat|0|0")});
        QCOMPARE(ArticleIndex::parseArticleKey(tree.nodes[1].key)->fileName(), QStringLiteral("lib/books/a.dat"));
    }

    void longLinesAreCutWithoutSplittingACharacter()
    {
        // 99 Chinese characters = 198 GBK bytes fit; the 100th is dropped, never halved.
        const QString name = QString(99, QChar(0x4E2D));
        const ArticleTree tree = ArticleIndex::build({}, {QStringLiteral("CLAS0001A||f"),
                                                          QStringLiteral("CLAS0002") + name + QStringLiteral("文")});
        QCOMPARE(tree.nodes[1].label, name.left(95));
    }

    void nodeLimit()
    {
        QStringList lines{QStringLiteral("CLAS0001A||f")};
        for (int i = 0; i < 10005; ++i)
            lines << QStringLiteral("FILEt%1|sentra|a.dat|%1|0").arg(i);
        const ArticleTree tree = ArticleIndex::build({}, lines);
        QCOMPARE(tree.nodes.size(), ArticleIndex::MaxNodes);
        QVERIFY(tree.hitNodeLimit);
        QVERIFY(tree.message.contains(QStringLiteral("9999")));
        QVERIFY(tree.nodes.last().key.endsWith(QStringLiteral("-9999")));
        // Every key stays unique and parses back to its own lesson.
        QCOMPARE(ArticleIndex::parseArticleKey(tree.nodes.last().key)->lessonNo, 9997);
    }

    void gbkAndUtf8IndexesGiveTheSameTree()
    {
        QTemporaryDir dir;
        const QStringList lines = {QStringLiteral("CLAS0001文化习俗||brxspecial"), QStringLiteral("CLAS0002节日"),
                                   QStringLiteral("FILE春节|sentra|文化习俗.dat|0|0")};
        const QString gbk = dir.filePath(QStringLiteral("gbk.txt"));
        const QString utf8 = dir.filePath(QStringLiteral("utf8.txt"));
        QVERIFY(WriteTextFile(gbk, lines, TextEncoding::Gb18030));
        QVERIFY(WriteTextFile(utf8, lines, TextEncoding::Utf8));
        const ArticleTree a = ArticleIndex::buildFromFile(gbk);
        const ArticleTree b = ArticleIndex::buildFromFile(utf8);
        QCOMPARE(a.nodes.size(), 3);
        QCOMPARE(ArticleIndex::describe(a), ArticleIndex::describe(b));
        QCOMPARE(a.nodes[2].label, QStringLiteral("春节"));
    }

    void toolPrintsTheWindowsTree()
    {
        QTemporaryDir dir;
        const QString index = dir.filePath(QStringLiteral("BrxSpecialIdx.txt"));
        QVERIFY(WriteTextFile(index, {QStringLiteral("CLAS0001文化习俗||brxspecial"), QStringLiteral("CLAS0002节日"),
                                      QStringLiteral("FILE春节|sentra|文化习俗.dat|0|0"), QStringLiteral("FILEbroken")},
                              TextEncoding::Gb18030));
        QProcess tool;
        tool.start(QStringLiteral(MAKEBOOK_TOOL), {QStringLiteral("--index"), index, QStringLiteral("--tree")});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(tool.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                 ArticleIndex::describe(ArticleIndex::buildFromFile(index)));
        QVERIFY(QString::fromUtf8(tool.readAllStandardError()).contains(QStringLiteral("第 4 行")));
        QCOMPARE(tool.exitCode(), 1);
    }

    void missingIndex()
    {
        const ArticleTree tree = ArticleIndex::buildFromFile(QStringLiteral("/nonexistent/BrxSpecialIdx.txt"));
        QVERIFY(!tree.opened);
        QVERIFY(tree.nodes.isEmpty());
        QCOMPARE(tree.message, QStringLiteral("节目索引文件打开错误"));
    }
};

QTEST_GUILESS_MAIN(TestLibraryIndex)
#include "test_library_index.moc"
