#include "core/AppState.h"
#include "core/TextCodec.h"
#include "core/UserSettings.h"
#include "libs/sentra/SentraBook.h"
#include "library/ArticleLibrary.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "WavBytes.h"

using namespace mvx;

namespace {

QByteArray silentWav(int ms)
{
    return testing::wavBytes(ms, false);
}

struct FakeRoutes final : LearningRoutes
{
    QStringList calls;
    void hideLibrary() override { calls << QStringLiteral("hide"); }
    void showLibrary() override { calls << QStringLiteral("show"); }
    void openPlayer(const QString &book, int lesson) override { calls << QStringLiteral("player %1 %2").arg(book).arg(lesson); }
    void openQuiz(const QString &book, int lesson, const QString &quiz, const QString &title) override
    {
        calls << QStringLiteral("quiz %1 %2 %3 %4").arg(book).arg(lesson).arg(quiz, title);
    }
    void runSpellTest(const QString &book, int first, int count) override
    {
        calls << QStringLiteral("spell %1 %2 %3").arg(book).arg(first).arg(count);
    }
    void tellLearner(const QString &text) override { calls << QStringLiteral("tell ") + text; }
};

} // namespace

class TestLibraryArticles : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(m_home->path());
        QDir().mkpath(QStringLiteral("brxspecial"));
        QDir().mkpath(QStringLiteral("alltmpfile"));
        QVERIFY(WriteTextFile(QStringLiteral("BrxSpecialIdx.txt"),
                              {QStringLiteral("CLAS0001文化习俗||brxspecial"), QStringLiteral("CLAS0002节日"),
                               QStringLiteral("FILE春节|sentra|文化习俗.dat|1|0"), QStringLiteral("CLAS0001科技||brxspecial"),
                               QStringLiteral("FILE火星|sentra|science.dat|0|0")},
                              TextEncoding::Gb18030));
        SaveUserSetting(QStringLiteral("LastArticle"), QString());
    }

    void firstStartSelectsTheFirstCategory()
    {
        ArticleLibrary library;
        QVERIFY(library.load(QStringLiteral("BrxSpecialIdx.txt")).isEmpty());
        QCOMPARE(library.selectedKey(), QStringLiteral("ROOT0001-0001"));
        QVERIFY(!library.ArticleSelected());
        QString message;
        QVERIFY(!library.prepareLearning(&message));
        QCOMPARE(message, QStringLiteral("您还没有选择文章。"));
    }

    void selectionSurvivesARestart_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addRow("an article") << "sentra|文化习俗.dat|1|0|brxspecial-0003";
        QTest::addRow("a category") << "ROOT00010002-0002";
    }

    void selectionSurvivesARestart()
    {
        QFETCH(QString, key);
        {
            ArticleLibrary library;
            library.load(QStringLiteral("BrxSpecialIdx.txt"));
            QVERIFY(library.selectKey(key));
            library.saveLastArticle();
        }
        ArticleLibrary again;
        again.load(QStringLiteral("BrxSpecialIdx.txt"));
        QCOMPARE(again.selectedKey(), key);
    }

    void unknownLastArticleSelectsNothing()
    {
        SaveUserSetting(QStringLiteral("LastArticle"), QStringLiteral("sentra|gone.dat|0|0|brxspecial-0042"));
        ArticleLibrary library;
        library.load(QStringLiteral("BrxSpecialIdx.txt"));
        QCOMPARE(library.selectedIndex(), -1);
        QVERIFY(!library.ArticleSelected());
    }

    void learningSteps_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QStringList>("calls");
        QTest::addRow("full study") << "DetailListen"
                                    << QStringList{"hide", "player brxspecial/文化习俗.dat 1"};
        QTest::addRow("first listening") << "FirstTest"
                                         << QStringList{"hide", "quiz brxspecial/文化习俗.dat 1 quiz/文化习俗.txt 春节"};
        QTest::addRow("unknown step does nothing") << "Whatever" << QStringList{};
    }

    void learningSteps()
    {
        QFETCH(QString, step);
        QFETCH(QStringList, calls);
        QFile digest(QStringLiteral("alltmpfile/tmpdigest.tmp"));
        QVERIFY(digest.open(QIODevice::WriteOnly));
        digest.close();
        ArticleLibrary library;
        library.load(QStringLiteral("BrxSpecialIdx.txt"));
        QVERIFY(library.selectKey(QStringLiteral("sentra|文化习俗.dat|1|0|brxspecial-0003")));
        QVERIFY(library.prepareLearning(nullptr));
        QCOMPARE(App().curArticleTitle, QStringLiteral("春节"));
        FakeRoutes routes;
        library.LearnArticle(step, routes);
        QCOMPARE(routes.calls, calls);
        // Full study never starts on an earlier lesson's digest.
        QCOMPARE(QFile::exists(QStringLiteral("alltmpfile/tmpdigest.tmp")), step != QLatin1String("DetailListen"));
        // Choosing a step saves the article as the last one.
        if (!calls.isEmpty())
            QCOMPARE(GetUserSetting(QStringLiteral("LastArticle"), {}), library.selectedKey());
    }

    // The closing test covers the lesson's sentences after its title line, all of them when
    // the lesson has none; a book that cannot be read is said so and nothing starts.
    void spellingTestCoversThePlayableSentences_data()
    {
        QTest::addColumn<bool>("titled");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QStringList>("calls");
        // Lesson 1 starts at sentence 3 of the book and has 4 sentences.
        QTest::addRow("after the title") << true << true << QStringList{"hide", "spell brxspecial/文化习俗.dat 4 3", "show"};
        QTest::addRow("no title line") << false << true << QStringList{"hide", "spell brxspecial/文化习俗.dat 3 4", "show"};
        QTest::addRow("unreadable book") << true << false
                                         << QStringList{"tell 无法读取这篇文章的句子库文件：brxspecial/文化习俗.dat"};
    }
    void spellingTestCoversThePlayableSentences()
    {
        QFETCH(bool, titled);
        QFETCH(bool, readable);
        QFETCH(QStringList, calls);
        if (readable) {
            sentra::SentraBook book;
            QVERIFY(book.create(QStringLiteral("brxspecial/文化习俗.dat")));
            for (int lesson = 0; lesson < 2; ++lesson) {
                sentra::LessonData data;
                data.title = QStringLiteral("lesson %1").arg(lesson);
                data.sound = silentWav(3000);
                for (int i = 0; i < 3 + lesson; ++i)
                    data.sentences.push_back(
                        {i * 700, i * 700 + 600, QStringLiteral("Sentence %1.").arg(i), {}, {}, titled && i == 0});
                QCOMPARE(book.addLesson(data), lesson);
            }
            book.close();
        } else {
            QFile junk(QStringLiteral("brxspecial/文化习俗.dat"));
            QVERIFY(junk.open(QIODevice::WriteOnly));
            junk.write("not a sentence book");
        }
        ArticleLibrary library;
        library.load(QStringLiteral("BrxSpecialIdx.txt"));
        QVERIFY(library.selectKey(QStringLiteral("sentra|文化习俗.dat|1|0|brxspecial-0003")));
        FakeRoutes routes;
        library.LearnArticle(QStringLiteral("LastTest"), routes);
        QCOMPARE(routes.calls, calls);
    }

    void quizFileNames_data()
    {
        QTest::addColumn<QString>("book");
        QTest::addColumn<QString>("quiz");
        QTest::addRow("Chinese name") << "文化习俗.dat" << "quiz/文化习俗.txt";
        QTest::addRow("with folder") << "brxspecial/mars.dat" << "quiz/mars.txt";
        QTest::addRow("dots in the name") << "a.b.dat" << "quiz/a.b.txt";
    }

    void quizFileNames()
    {
        QFETCH(QString, book);
        QFETCH(QString, quiz);
        QCOMPARE(ArticleLibrary::quizFileFor(book), quiz);
    }

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

QTEST_GUILESS_MAIN(TestLibraryArticles)
#include "test_library_articles.moc"
