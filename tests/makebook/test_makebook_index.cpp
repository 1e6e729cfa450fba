// Adding articles to UTF-8 and GBK article indexes: where the lines go, what the library tree
// then shows, and what is refused.
#include "libs/bookmaker/IndexTree.h"
#include "libs/bookmaker/IndexEditor.h"
#include "core/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace mvx;

class TestMakebookIndex : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void treeFollowsLibraryWindow();
    void addsArticle_data();
    void addsArticle();
    void newIndexFile();
    void refused_data();
    void refused();

private:
    [[nodiscard]] QString writeIndex(const QStringList &lines, TextEncoding encoding);
    std::unique_ptr<QTemporaryDir> m_dir;
};

static const QStringList Sample{
    "CLAS0001文化习俗||brxspecial",
    "CLAS0002节日",
    "FILE春节|sentra|文化习俗.dat|0|0",
    "CLAS0003北方",
    "FILE饺子|sentra|文化习俗.dat|1|0",
    "CLAS0002饮食",
    "FILE喝茶|sentra|文化习俗.dat|2|0",
    "CLAS0001科技||science",
    "FILE青蛙|sentra|frog.dat|0|0",
};

void TestMakebookIndex::init()
{
    m_dir = std::make_unique<QTemporaryDir>(QString::fromLocal8Bit(qgetenv("MVX_TEST_TMP")) + "/index-XXXXXX");
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir(m_dir->path()).mkpath("brxspecial"));
    QVERIFY(QDir(m_dir->path()).mkpath("science"));
    QVERIFY(QDir(m_dir->path()).mkpath("mine"));
}

QString TestMakebookIndex::writeIndex(const QStringList &lines, TextEncoding encoding)
{
    const QString path = m_dir->filePath("BrxSpecialIdx.txt");
    if (!WriteTextFile(path, lines, encoding))
        return {};
    return path;
}

// Category path and article title of every article, in file order.
static QStringList articlesOf(const IndexTree &index)
{
    QStringList out;
    for (int i = 0; i < index.nodes().size(); ++i)
        if (index.nodes()[i].isArticle)
            out << index.categoryPathOf(i).join('/') + ':' + index.nodes()[i].name + '@' + index.nodes()[i].folder;
    return out;
}

void TestMakebookIndex::treeFollowsLibraryWindow()
{
    const IndexTree index(Sample + QStringList{"CLAS0003孤儿", "CLAS0002工具", "CLAS0004深层", "FILE深|sentra|d.dat|0|0"});
    QCOMPARE(index.malformedLine(), -1);
    QCOMPARE(articlesOf(index),
             (QStringList{"文化习俗/节日:春节@brxspecial", "文化习俗/节日/北方:饺子@brxspecial", "文化习俗/饮食:喝茶@brxspecial",
                          "科技:青蛙@science", "科技/工具/深层:深@science"}));
    // A level 3 line straight under a top category is its child; level 2 after it walks up.
    const int orphan = index.findCategory({"科技", "孤儿"});
    QVERIFY(orphan >= 0);
    QCOMPARE(index.nodes()[orphan].level, 3);
    QCOMPARE(index.findCategory({"科技", "工具"}) >= 0, true);
    const IndexTree broken({"CLAS0001甲||a", "FILE没有竖线", "FILE乙|sentra|b.dat|0|0"});
    QCOMPARE(broken.malformedLine(), 1);
    QCOMPARE(articlesOf(broken), QStringList());
}

void TestMakebookIndex::addsArticle_data()
{
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("expected"); // the whole new file
    const auto enc = [](TextEncoding e) { return int(e); };
    const QString file = "FILE新课|sentra|新书.dat|0|0";
    for (const TextEncoding e : {TextEncoding::Utf8, TextEncoding::Gb18030}) {
        const QString tag = e == TextEncoding::Utf8 ? "utf-8" : "gbk";
        QStringList existing = Sample;
        existing.insert(3, file); // after the category's own article, before its sub-category
        QTest::addRow("%s: existing sub-category", qPrintable(tag)) << enc(e) << "文化习俗/节日" << "brxspecial" << existing;
        QStringList newSub = Sample;
        newSub.insert(7, file); // after the whole top category
        newSub.insert(7, "CLAS0002新类");
        QTest::addRow("%s: new sub-category", qPrintable(tag)) << enc(e) << "文化习俗/新类" << "brxspecial" << newSub;
        QStringList deeper = Sample;
        deeper.insert(5, file); // under 北方, after its article
        deeper.insert(5, "CLAS0004更深");
        QTest::addRow("%s: new category below a deep one", qPrintable(tag))
            << enc(e) << "文化习俗/节日/北方/更深" << "brxspecial" << deeper;
        QTest::addRow("%s: new top category", qPrintable(tag))
            << enc(e) << "我的材料/听力" << "mine" << Sample + QStringList{"CLAS0001我的材料||mine", "CLAS0002听力", file};
        QStringList top = Sample;
        top.insert(9, file);
        QTest::addRow("%s: existing top category", qPrintable(tag)) << enc(e) << "科技" << "science" << top;
    }
}

void TestMakebookIndex::addsArticle()
{
    QFETCH(int, encoding);
    QFETCH(QString, category);
    QFETCH(QString, folder);
    QFETCH(QStringList, expected);
    const QString path = writeIndex(Sample, TextEncoding(encoding));
    QVERIFY(!path.isEmpty());
    IndexEditor editor;
    QVERIFY(!editor.load(path).isError());
    const InputError e = editor.addArticle(category, "新课", m_dir->filePath(folder + "/新书.dat"), 0);
    QVERIFY2(!e.isError(), qPrintable(e.toString()));
    QVERIFY(!editor.save().isError());

    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QCOMPARE(bytes, EncodeText(expected.join("\r\n") + "\r\n", TextEncoding(encoding)));
    // What the library window will show: the article under its category, with the book's folder.
    const IndexTree tree(ReadTextFile(path).lines);
    QVERIFY(articlesOf(tree).contains(category + ":新课@" + folder));
}

void TestMakebookIndex::newIndexFile()
{
    const QString path = m_dir->filePath("BrxSpecialIdx.txt");
    IndexEditor editor;
    QVERIFY(!editor.load(path).isError());
    QVERIFY(!editor.addArticle("大类/小类", "第一课", m_dir->filePath("brxspecial/a.dat"), 0).isError());
    QVERIFY(!editor.addArticle("大类/小类", "第二课", m_dir->filePath("brxspecial/a.dat"), 1).isError());
    QVERIFY(!editor.save().isError());
    const TextFileContent c = ReadTextFile(path);
    QCOMPARE(c.encoding, TextEncoding::Utf8);
    QCOMPARE(c.lines, (QStringList{"CLAS0001大类||brxspecial", "CLAS0002小类", "FILE第一课|sentra|a.dat|0|0",
                                   "FILE第二课|sentra|a.dat|1|0"}));
}

void TestMakebookIndex::refused_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("book");
    QTest::addColumn<QStringList>("index");
    QTest::addRow("book outside the category's folder") << "文化习俗/节日" << "x" << "science/x.dat" << Sample;
    QTest::addRow("title with a bar") << "文化习俗" << "a|b" << "brxspecial/x.dat" << Sample;
    QTest::addRow("empty category part") << "文化习俗//节日" << "x" << "brxspecial/x.dat" << Sample;
    QTest::addRow("line longer than 198 bytes") << "文化习俗" << QString(100, QChar(0x4E2D)) << "brxspecial/x.dat" << Sample;
    QTest::addRow("malformed index line") << "文化习俗" << "x" << "brxspecial/x.dat"
                                          << QStringList{"CLAS0001文化习俗||brxspecial", "FILE坏行"};
}

void TestMakebookIndex::refused()
{
    QFETCH(QString, category);
    QFETCH(QString, title);
    QFETCH(QString, book);
    QFETCH(QStringList, index);
    const QString path = writeIndex(index, TextEncoding::Gb18030);
    IndexEditor editor;
    QVERIFY(!editor.load(path).isError());
    const InputError e = editor.addArticle(category, title, m_dir->filePath(book), 0);
    QVERIFY(e.isError());
    QVERIFY(!e.file.isEmpty());
    QCOMPARE(editor.lines(), index);
    QCOMPARE(editor.articleLine(), -1);
}

QTEST_GUILESS_MAIN(TestMakebookIndex)
#include "test_makebook_index.moc"
