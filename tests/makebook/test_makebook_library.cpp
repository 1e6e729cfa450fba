// The bundled library as the build leaves it in the program home: the index tree, one
// titled lesson per book with translations, comments and key words, a pause after every
// sentence, and a valid quiz for every book.
#include "libs/bookmaker/IndexTree.h"
#include "QuizSource.h"
#include "core/TextCodec.h"
#include "libs/sentra/SentraBook.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace mvx;

class TestMakebookLibrary : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void indexTree();
    void everyArticle_data();
    void everyArticle();
    void rebuildKeepsLearnersArticles();

private:
    QList<IndexNode> m_articles;
};

void TestMakebookLibrary::initTestCase()
{
    const TextFileContent index = ReadTextFile(QStringLiteral(MVX_HOME) + "/BrxSpecialIdx.txt");
    QVERIFY2(index.ok, "the bundled library has not been built into the program home");
    const IndexTree tree(index.lines);
    QCOMPARE(tree.malformedLine(), -1);
    for (const IndexNode &n : tree.nodes())
        if (n.isArticle)
            m_articles.append(n);
}

void TestMakebookLibrary::indexTree()
{
    const IndexTree tree(ReadTextFile(QStringLiteral(MVX_HOME) + "/BrxSpecialIdx.txt").lines);
    int tops = 0;
    for (int i = 0; i < tree.nodes().size(); ++i) {
        const IndexNode &n = tree.nodes()[i];
        if (n.isArticle) {
            // Articles sit in sub-categories.
            QCOMPARE(tree.categoryPathOf(i).size(), 2);
        } else if (n.parent < 0) {
            ++tops;
            QVERIFY(!tree.children(i).isEmpty());
        }
    }
    QVERIFY(tops >= 2);
    QVERIFY(m_articles.size() >= 8);
    QSet<QString> books;
    for (const IndexNode &a : m_articles)
        books.insert(a.folder + '/' + a.bookFile);
    QCOMPARE(books.size(), m_articles.size()); // one article per book
}

void TestMakebookLibrary::everyArticle_data()
{
    QTest::addColumn<int>("article");
    for (int i = 0; i < m_articles.size(); ++i)
        QTest::addRow("%s", qPrintable(m_articles[i].bookFile)) << i;
}

void TestMakebookLibrary::everyArticle()
{
    QFETCH(int, article);
    const IndexNode &a = m_articles[article];
    QCOMPARE(a.type, QStringLiteral("sentra"));
    QCOMPARE(a.lessonNo, 0);
    const QString bookPath = QDir(QStringLiteral(MVX_HOME)).filePath(a.folder + '/' + a.bookFile);
    sentra::SentraBook book;
    QVERIFY2(book.open(bookPath, false), qPrintable(book.lastError()));
    QCOMPARE(book.lessonCount(), 1);
    const auto info = book.lessonInfo(0);
    QVERIFY(info && info->hasTitle);
    QCOMPARE(info->title, a.name);
    QVERIFY2(info->sentenceCount >= 9 && info->sentenceCount <= 26, "8 to 25 sentences after the title");
    const auto lesson = book.readLesson(0);
    QVERIFY(lesson.has_value());
    int keyWords = 0;
    for (int i = 0; i < lesson->sentences.size(); ++i) {
        const auto &s = lesson->sentences[i];
        QVERIFY(!s.chinese.isEmpty());
        QVERIFY(!s.comment.isEmpty());
        QVERIFY(!s.english.contains('*'));
        keyWords += int(s.keywords.size());
        // The speech, then at least 400 ms of silence before the sentence ends.
        std::vector<qint16> samples;
        QVERIFY(book.cutSentence(info->firstSentence + i, samples));
        const size_t tail = size_t(sentra::SentraBook::SoundRate) * 400 / 1000;
        QVERIFY(samples.size() > tail);
        int speechPeak = 0;
        int tailPeak = 0;
        for (size_t k = 0; k < samples.size(); ++k) {
            int &peak = k < samples.size() - tail ? speechPeak : tailPeak;
            peak = std::max(peak, std::abs(int(samples[k])));
        }
        QVERIFY2(speechPeak > 3000, qPrintable(QStringLiteral("sentence %1 is silent").arg(i)));
        QVERIFY2(tailPeak < 200, qPrintable(QStringLiteral("sentence %1 has sound in its last 400 ms").arg(i)));
    }
    QVERIFY(keyWords >= 3);

    const QuizSource quiz =
        QuizSource::read(QStringLiteral(MVX_HOME) + "/quiz/" + QFileInfo(a.bookFile).completeBaseName() + ".txt");
    QVERIFY2(!quiz.error.isError(), qPrintable(quiz.error.toString()));
    QVERIFY(quiz.questions.size() >= 3 && quiz.questions.size() <= QuizSource::MaxQuestions);
}

static int run(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(program, arguments);
    if (!p.waitForFinished(60000))
        return -1;
    return p.exitCode();
}

void TestMakebookLibrary::rebuildKeepsLearnersArticles()
{
    QTemporaryDir home(QString::fromLocal8Bit(qgetenv("MVX_TEST_TMP")) + "/home-XXXXXX");
    QVERIFY(home.isValid());
    const QStringList build{"--home", home.path(), "--quiz-dir", QStringLiteral(MVX_TEST_DATA) + "/quiz",
                            QStringLiteral(MVX_TEST_DATA) + "/articles/短文.txt"};
    QCOMPARE(run(QStringLiteral(MVX_BUILDLIBRARY), build), 0);
    QVERIFY(QFileInfo::exists(home.filePath("quiz/短文.txt")));

    // The learner adds a lesson of their own (spoken by the bundled book's sound) twice:
    // under a bundled category and under a new one with its own folder.
    QVERIFY(QDir(home.path()).mkpath("我的"));
    const QString index = home.filePath("BrxSpecialIdx.txt");
    const QString text = home.filePath("mine.txt");
    QVERIFY(WriteTextFile(text, {"Mine", "One.", "Two."}));
    sentra::SentraBook bundled;
    QVERIFY(bundled.open(home.filePath("brxspecial/短文.dat"), false));
    QFile sound(home.filePath("mine.flac"));
    QVERIFY(sound.open(QIODevice::WriteOnly));
    sound.write(bundled.lessonSound(0));
    sound.close();
    bundled.close();
    for (const auto &[book, category] : {std::pair{"brxspecial/我的书.dat", "测试大类/测试小类"},
                                        std::pair{"我的/我的书.dat", "我的课/听力"}})
        QCOMPARE(run(QStringLiteral(MVX_MAKEBOOK),
                     {"--book", home.filePath(book), "--audio", sound.fileName(), "--text", text, "--title-line",
                      "--index", index, "--category", category, "--title", "我的一课"}),
                 0);
    const QStringList before = ReadTextFile(index).lines;
    // The pauses were found in real speech: every boundary inside the 600 ms pause after its sentence.
    sentra::SentraBook mine;
    QVERIFY(mine.open(home.filePath("我的/我的书.dat"), false));
    QVERIFY(bundled.open(home.filePath("brxspecial/短文.dat"), false));
    const auto found = mine.readLesson(0);
    const auto exact = bundled.readLesson(0);
    QVERIFY(found && exact);
    QCOMPARE(found->sentences.size(), exact->sentences.size());
    for (int i = 0; i + 1 < exact->sentences.size(); ++i) {
        const int end = found->sentences[i].endMs;
        QVERIFY2(end > exact->sentences[i].endMs - 600 + 150 && end <= exact->sentences[i].endMs + 10,
                 qPrintable(QStringLiteral("sentence %1 ends at %2, its pause ends at %3")
                                .arg(i).arg(end).arg(exact->sentences[i].endMs)));
    }

    QCOMPARE(run(QStringLiteral(MVX_BUILDLIBRARY), build), 0);
    QCOMPARE(ReadTextFile(index).lines, before);
    QVERIFY(!QFileInfo::exists(index + ".old"));
}

QTEST_GUILESS_MAIN(TestMakebookLibrary)
#include "test_makebook_library.moc"
