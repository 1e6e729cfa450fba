#include "core/SqliteDb.h"
#include "core/TextCodec.h"
#include "libs/sentra/SentraBook.h"
#include "library/LibrarySearch.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "WavBytes.h"

using namespace mvx;

namespace {

struct Line
{
    const char *english, *chinese, *comment;
};

void makeBook(const QString &path, const QList<QList<Line>> &lessons)
{
    sentra::SentraBook book;
    QVERIFY(book.create(path, true));
    for (const auto &lines : lessons) {
        sentra::LessonData data;
        data.title = QString::fromUtf8(lines.first().english);
        data.sound = testing::wavBytes(200 * int(lines.size()) + 200, false);
        for (int i = 0; i < lines.size(); ++i)
            data.sentences.push_back({i * 200, i * 200 + 150, QString::fromUtf8(lines[i].english),
                                      QString::fromUtf8(lines[i].chinese), QString::fromUtf8(lines[i].comment), i == 0, 0, {}, {}});
        QVERIFY(book.addLesson(data) >= 0);
    }
}

void writeIndex(const QStringList &files)
{
    QStringList lines{QStringLiteral("CLAS0001新闻||brxspecial")};
    lines += files;
    QVERIFY(WriteTextFile(QStringLiteral("BrxSpecialIdx.txt"), lines, TextEncoding::Utf8));
}

// "title:number" for each hit, in order.
QStringList describe(const LibrarySearchResult &r)
{
    QStringList out;
    for (const LibraryHit &h : r.hits)
        out << QStringLiteral("%1:%2").arg(h.title).arg(h.sentence);
    return out;
}

} // namespace

class TestLibrarySearch : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(m_home->path());
        QDir().mkpath(QStringLiteral("brxspecial"));
        makeBook(QStringLiteral("brxspecial/news.dat"),
                 {{{"Farmers and the President", "农民与总统", ""},
                   {"The President met farmers on Monday.", "总统星期一会见了农民们。", ""},
                   {"Don't panic, he said.", "他说：别慌。", "An idiom of calm."},
                   {"The Prime Minister agreed.", "总理表示同意。", ""}},
                  {{"Mars Probe", "火星探测", ""}, {"A probe reached Mars.", "一个火星探测器到达了火星。", ""}}});
        makeBook(QStringLiteral("brxspecial/science.dat"),
                 {{{"Clean Water", "清洁的水", ""}, {"Farmers need clean water.", "农民需要清洁的水。", ""}}});
        writeIndex({QStringLiteral("FILE总统与农民|sentra|news.dat|0|0"), QStringLiteral("FILE火星|sentra|news.dat|1|0"),
                    QStringLiteral("FILE净水|sentra|science.dat|0|0")});
    }

    void queries_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("hits");
        const QStringList president{"总统与农民:0", "总统与农民:1"};
        QTest::addRow("prefix") << "presid" << president;
        QTest::addRow("case") << "PRESIDENT" << president;
        QTest::addRow("one Chinese character") << "农" << QStringList{"总统与农民:0", "总统与农民:1", "净水:1"};
        QTest::addRow("two characters find a longer word") << "农民" << QStringList{"总统与农民:0", "总统与农民:1", "净水:1"};
        QTest::addRow("four characters") << "火星探测" << QStringList{"火星:0", "火星:1"};
        QTest::addRow("comment only") << "idiom" << QStringList{"总统与农民:2"};
        QTest::addRow("apostrophe") << "don't" << QStringList{"总统与农民:2"};
        QTest::addRow("two words, both needed") << "farmers water" << QStringList{"净水:1"};
        QTest::addRow("two words, one missing") << "president water" << QStringList{};
        QTest::addRow("OR is a word") << "mars OR water" << QStringList{};
        QTest::addRow("column filter is text") << "english:president" << QStringList{};
        QTest::addRow("quote and star are text") << "\"farm* (water" << QStringList{"净水:1"};
        QTest::addRow("NEAR is a word") << "NEAR(president farmers)" << QStringList{};
        QTest::addRow("a miss") << "elephant" << QStringList{};
    }

    void queries()
    {
        QFETCH(QString, query);
        QFETCH(QStringList, hits);
        LibrarySearch search(QStringLiteral("BrxSpecialIdx.txt"));
        const LibrarySearchResult r = search.Search(query, -1);
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        QCOMPARE(describe(r), hits);
    }

    void hitsCarryTheirArticleAndTexts()
    {
        LibrarySearch search(QStringLiteral("BrxSpecialIdx.txt"));
        const LibrarySearchResult r = search.Search(QStringLiteral("probe reached"), -1);
        QCOMPARE(r.hits.size(), 1);
        const LibraryHit &h = r.hits.first();
        QCOMPARE(h.bookFile, QStringLiteral("brxspecial/news.dat"));
        QCOMPARE(h.lessonNo, 1);
        QCOMPARE(h.sentence, 1);
        QCOMPARE(h.chinese, QStringLiteral("一个火星探测器到达了火星。"));
        QVERIFY(QFile::exists(QStringLiteral("BrxSpecialIdx.search")));
    }

    void limitCutsAndSays()
    {
        LibrarySearch search(QStringLiteral("BrxSpecialIdx.txt"));
        const LibrarySearchResult r = search.Search(QStringLiteral("农"), 2);
        QCOMPARE(describe(r), (QStringList{"总统与农民:0", "总统与农民:1"}));
        QVERIFY(r.truncated);
        QVERIFY(!search.Search(QStringLiteral("农"), 3).truncated);
    }

    // Hits come in index order, then sentence order, whatever order the books were read in
    // (a book read again goes to the end of the file) and with an article listed twice; the
    // limit cuts in that order.
    void hitsFollowTheIndexOrder()
    {
        LibrarySearch(QStringLiteral("BrxSpecialIdx.txt")).Refresh();
        {
            sentra::SentraBook book;
            QVERIFY(book.open(QStringLiteral("brxspecial/news.dat"), true));
            QVERIFY(book.modifySentence(3, QStringLiteral("The Prime Minister agreed at once."), std::nullopt, std::nullopt));
        }
        const QStringList all{"总统与农民:0", "总统与农民:1", "净水:1"};
        LibrarySearch reread(QStringLiteral("BrxSpecialIdx.txt"));
        QCOMPARE(describe(reread.Search(QStringLiteral("农"), -1)), all);
        QCOMPARE(reread.reindexed(), QStringList{"brxspecial/news.dat"});
        const LibrarySearchResult cut = reread.Search(QStringLiteral("农"), 2);
        QCOMPARE(describe(cut), all.mid(0, 2));
        QVERIFY(cut.truncated);

        writeIndex({QStringLiteral("FILE净水|sentra|science.dat|0|0"), QStringLiteral("FILE总统与农民|sentra|news.dat|0|0"),
                    QStringLiteral("FILE火星|sentra|news.dat|1|0"), QStringLiteral("FILE又一次净水|sentra|science.dat|0|0")});
        LibrarySearch reordered(QStringLiteral("BrxSpecialIdx.txt"));
        QCOMPARE(describe(reordered.Search(QStringLiteral("农"), -1)),
                 (QStringList{"净水:1", "总统与农民:0", "总统与农民:1", "又一次净水:1"}));
        QCOMPARE(describe(reordered.Search(QStringLiteral("农"), 3)), (QStringList{"净水:1", "总统与农民:0", "总统与农民:1"}));
    }

    void queryWithoutWordsIsRefused_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addRow("blank") << "   ";
        QTest::addRow("signs") << "\"*:() -";
    }

    void queryWithoutWordsIsRefused()
    {
        QFETCH(QString, query);
        LibrarySearch search(QStringLiteral("BrxSpecialIdx.txt"));
        QCOMPARE(search.Search(query, -1).error, QStringLiteral("请输入要查的单词或汉字"));
    }

    void changedBookIsReadAgainAlone()
    {
        LibrarySearch(QStringLiteral("BrxSpecialIdx.txt")).Refresh();
        {
            sentra::SentraBook book;
            QVERIFY(book.open(QStringLiteral("brxspecial/science.dat"), true));
            QVERIFY(book.modifySentence(1, QStringLiteral("Villages need wells."), std::nullopt, std::nullopt));
        }
        LibrarySearch next(QStringLiteral("BrxSpecialIdx.txt"));
        QCOMPARE(describe(next.Search(QStringLiteral("wells"), -1)), QStringList{"净水:1"});
        QCOMPARE(next.reindexed(), QStringList{"brxspecial/science.dat"});
        QCOMPARE(describe(next.Search(QStringLiteral("farmers water"), -1)), QStringList{});
        // Nothing changed: nothing is read again.
        LibrarySearch third(QStringLiteral("BrxSpecialIdx.txt"));
        QVERIFY(third.Refresh());
        QCOMPARE(third.reindexed(), QStringList{});
    }

    void articlesRemovedAndAddedFollowTheIndex()
    {
        LibrarySearch(QStringLiteral("BrxSpecialIdx.txt")).Refresh();
        makeBook(QStringLiteral("brxspecial/extra.dat"), {{{"Bees", "蜜蜂", ""}, {"Bees make honey.", "蜜蜂酿蜜。", ""}}});
        writeIndex({QStringLiteral("FILE火星|sentra|news.dat|1|0"), QStringLiteral("FILE蜜蜂|sentra|extra.dat|0|0")});
        LibrarySearch next(QStringLiteral("BrxSpecialIdx.txt"));
        QCOMPARE(describe(next.Search(QStringLiteral("honey"), -1)), QStringList{"蜜蜂:1"});
        QCOMPARE(next.reindexed(), QStringList{"brxspecial/extra.dat"});
        QCOMPARE(describe(next.Search(QStringLiteral("farmers"), -1)), QStringList{});
        QCOMPARE(describe(next.Search(QStringLiteral("mars"), -1)), (QStringList{"火星:0", "火星:1"}));
    }

    // A damaged search file is made again from the books, so the hits are right: bytes that
    // are no database and a table that lost a column are found at open, a full-text index
    // whose pages were wiped when the search reads it.
    void damagedSearchFileIsRebuilt_data()
    {
        QTest::addColumn<QString>("damage"); // SQL run on a good file, or "" for junk bytes
        QTest::newRow("junk bytes") << QString();
        QTest::newRow("full-text pages wiped") << QStringLiteral(
            "UPDATE sentence_text_data SET block = x'FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF' WHERE id > 10");
        QTest::newRow("a table lost a column") << QStringLiteral("ALTER TABLE lesson_span RENAME COLUMN last_id TO final_id");
    }
    void damagedSearchFileIsRebuilt()
    {
        QFETCH(QString, damage);
        if (damage.isEmpty()) {
            QFile junk(QStringLiteral("BrxSpecialIdx.search"));
            QVERIFY(junk.open(QIODevice::WriteOnly));
            junk.write(QByteArray(4096, 'x'));
        } else {
            {
                LibrarySearch first(QStringLiteral("BrxSpecialIdx.txt"));
                QVERIFY(first.Refresh());
            }
            SqliteDb db;
            QVERIFY(db.open(QStringLiteral("BrxSpecialIdx.search"), SqliteDb::Mode::ReadWrite));
            QVERIFY2(db.exec(damage), qPrintable(db.lastError()));
        }
        LibrarySearch search(QStringLiteral("BrxSpecialIdx.txt"));
        QCOMPARE(describe(search.Search(QStringLiteral("water"), -1)), (QStringList{"净水:0", "净水:1"}));
        QVERIFY(!search.inMemory());
        QCOMPARE(search.reindexed().size(), 2); // made again: both books read
        LibrarySearch next(QStringLiteral("BrxSpecialIdx.txt"));
        QVERIFY(next.Refresh());
        QCOMPARE(next.reindexed(), QStringList{});
    }

    void unreadableBookIsNamed()
    {
        QFile broken(QStringLiteral("brxspecial/broken.dat"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not a book");
        broken.close();
        writeIndex({QStringLiteral("FILE坏的|sentra|broken.dat|0|0"), QStringLiteral("FILE净水|sentra|science.dat|0|0"),
                    QStringLiteral("FILE丢失|sentra|missing.dat|0|0")});
        LibrarySearch search(QStringLiteral("BrxSpecialIdx.txt"));
        const LibrarySearchResult r = search.Search(QStringLiteral("water"), -1);
        QCOMPARE(describe(r), (QStringList{"净水:0", "净水:1"}));
        QCOMPARE(r.unreadable, (QStringList{"brxspecial/broken.dat", "brxspecial/missing.dat"}));
    }

    void unwritableSearchFileSearchesInMemory()
    {
        // A folder where the file should be: it can be neither opened nor replaced.
        QVERIFY(QDir().mkpath(QStringLiteral("BrxSpecialIdx.search")));
        LibrarySearch search(QStringLiteral("BrxSpecialIdx.txt"));
        const LibrarySearchResult r = search.Search(QStringLiteral("mars"), -1);
        QCOMPARE(describe(r), (QStringList{"火星:0", "火星:1"}));
        QVERIFY(search.inMemory());
        QVERIFY(r.note.contains(QStringLiteral("BrxSpecialIdx.search")));
    }

    void toolLinesAndExitCodes_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addRow("hits") << QStringList{"probe"} << 0
                              << "火星\t1\t0\tMars Probe\n火星\t1\t1\tA probe reached Mars.\n";
        QTest::addRow("two words") << QStringList{"farmers", "water"} << 0 << "净水\t0\t1\tFarmers need clean water.\n";
        QTest::addRow("nothing") << QStringList{"elephant"} << 1 << "";
        QTest::addRow("no word") << QStringList{"--"} << 2 << "";
        QTest::addRow("no arguments") << QStringList{} << 2 << "";
        QTest::addRow("unreadable index") << QStringList{"--index", "nowhere.txt", "mars"} << 2 << "";
        QTest::addRow("index given") << QStringList{"--index", "BrxSpecialIdx.txt", "honey"} << 1 << "";
    }

    void toolLinesAndExitCodes()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QProcess tool;
        tool.start(QStringLiteral(SEARCH_TOOL), args);
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), exitCode);
        QCOMPARE(QString::fromUtf8(tool.readAllStandardOutput()), out);
        QCOMPARE(tool.readAllStandardError().isEmpty(), exitCode != 2);
    }

    void toolTurnsTabsAndLineBreaksIntoBlanks()
    {
        makeBook(QStringLiteral("brxspecial/science.dat"),
                 {{{"Clean\tWater", "", ""}, {"Wells\nand\tpumps.", "", ""}}});
        QProcess tool;
        tool.start(QStringLiteral(SEARCH_TOOL), {QStringLiteral("pumps")});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(tool.readAllStandardOutput()), QStringLiteral("净水\t0\t1\tWells and pumps.\n"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

QTEST_GUILESS_MAIN(TestLibrarySearch)
#include "test_library_search.moc"
