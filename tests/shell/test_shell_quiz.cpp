// The comprehension quiz reached as a learner reaches it: the whole program in-process under
// its real event loop, the library, "初听练习" on a bundled article with its bundled quiz,
// every question answered in the page with the real mouse and submitted, the score box over
// the quiz window, the quiz closed, and the next opening showing the last score. A short
// article is listened to through the real sound back end to its end message, and an article
// without a quiz leaves the program running.
#include "AppScript.h"
#include "SentraFixtures.h"
#include "ShellHome.h"
#include "ShellSteps.h"

#include "library/ProgramShell.h"
#include "player/pages/HtmlView.h"
#include "quiz/FirstTestForm.h"
#include "quiz/QuizListening.h"
#include "quiz/QuizPage.h"

#include <QApplication>
#include <QMap>
#include <QPointer>
#include <QtTest>

#include <algorithm>

using namespace mvx;
using mvx::testing::AppScript;
using shelltest::AddLearning;
using shelltest::LibraryAlone;

namespace {

AppScript::Find QuizReady()
{
    return [] {
        auto *q = qobject_cast<FirstTestForm *>(AppScript::FindShown("mvx::FirstTestForm"));
        // Not inside one of the window's own waits: the page takes no question then.
        return q && q->Page().Loaded() && q->Listening().PlayEnabled() && !q->QuizView()->isWaiting() ? q : nullptr;
    };
}

// A real click on the index-th element of that name in the quiz page.
bool ClickInPage(FirstTestForm &form, const QString &name, int index)
{
    const QVariantMap r =
        form.QuizView()
            ->runAndWait(QStringLiteral("(function(){var e=document.getElementsByName('%1')[%2];if(!e)return null;"
                                        "e.scrollIntoView({block:'center'});var b=e.getBoundingClientRect();"
                                        "return {x:b.left+b.width/2,y:b.top+b.height/2};})()")
                             .arg(name)
                             .arg(index),
                         10000)
            .toMap();
    if (r.isEmpty())
        return false;
    QTest::mouseClick(form.QuizView()->focusProxy(), Qt::LeftButton, {},
                      QPoint(int(r["x"].toDouble()), int(r["y"].toDouble())));
    QTest::qWait(200);
    return true;
}

// The option of the key letter: True/False questions offer True then False, the others A, B, C...
int OptionIndex(QChar key)
{
    if (key == QLatin1Char('T'))
        return 0;
    if (key == QLatin1Char('F'))
        return 1;
    return key.unicode() - 'A';
}

const QString ShortTitle = QStringLiteral("三句短文");
const QString NoQuizTitle = QStringLiteral("没有测验的课文");

// A book of one lesson: a title line and three sentences of 0.6 s each over a tone.
mvx::sentra::LessonData ThreeSentenceLesson()
{
    mvx::sentra::LessonData l;
    l.title = QStringLiteral("Three Short Sentences");
    l.sound = fixtures::toneFile(22050, 1, 2.4);
    auto title = fixtures::sentence(0, 600, l.title);
    title.isTitle = true;
    l.sentences.append(title);
    l.sentences.append(fixtures::sentence(600, 1200, QStringLiteral("The rain came early.")));
    l.sentences.append(fixtures::sentence(1200, 1800, QStringLiteral("Rice prices fell.")));
    l.sentences.append(fixtures::sentence(1800, 2400, QStringLiteral("Farmers were glad.")));
    return l;
}

// Adds two articles of that book to the home's index: one with its quiz (true/false T, then
// a choice answered A) and one whose book has no quiz.
bool AddShortArticles(const QString &home)
{
    const QString made = fixtures::makeBook(QStringLiteral("shell-three.dat"), {ThreeSentenceLesson()});
    const QString books = home + QStringLiteral("/brxspecial/");
    QFile::remove(books + QStringLiteral("three.dat"));
    QFile::remove(books + QStringLiteral("noquiz.dat"));
    if (!QFile::copy(made, books + QStringLiteral("three.dat")) || !QFile::copy(made, books + QStringLiteral("noquiz.dat")))
        return false;
    QFile quiz(home + QStringLiteral("/quiz/three.txt"));
    QFile index(home + QStringLiteral("/BrxSpecialIdx.txt"));
    if (!quiz.open(QIODevice::WriteOnly) || !index.open(QIODevice::Append))
        return false;
    quiz.write("[question]\ntype: truefalse\ntext: The rain came early.\nanswer: T\n\n"
               "[question]\ntype: choice\ntext: What fell?\nA: Rice prices.\nB: Snow.\nanswer: A\n");
    index.write(QStringLiteral("FILE%1|sentra|three.dat|0|0\nFILE%2|sentra|noquiz.dat|0|0\n")
                    .arg(ShortTitle, NoQuizTitle)
                    .toUtf8());
    return true;
}

} // namespace

class TestShellQuiz : public QObject
{
    Q_OBJECT

    shelltest::ShellHome m_home;

private slots:
    void initTestCase()
    {
        // Settings of an earlier run (the last score among them) must not carry over.
        const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
        QVERIFY2(config.contains(QLatin1String("/testhome/")), qPrintable(config));
        QDir(config).removeRecursively();
        m_home = shelltest::MakeShellHome(QStringLiteral(MVX_HOME), qEnvironmentVariable("MVX_TEST_TMP") + "/home");
        QVERIFY2(!m_home.path.isEmpty(), "the bundled books and quizzes are built into the staged home");
        QVERIFY(AddShortArticles(m_home.path));
    }

    // Play goes through every sentence after the title line through the real back end (the
    // dummy sound driver plays in real time) to the end message; the answers score. Then an
    // article without a quiz: its message comes over the quiz window, which still closes to
    // the library, and the program goes on taking commands until "退出".
    void listensToTheEndAndAMissingQuizKeepsTheProgram()
    {
        AppScript script;
        QPointer<FirstTestForm> quiz;
        QList<int> heard;       // sentences in the order they were playing
        QMap<int, int> reached; // the furthest position seen in each
        QStringList clickFailures;
        QString againScoreLabel;
        script.Then("word-sound question", AppScript::Shown("mvx::CopyWordSndForm"),
                    [](QWidget *w) { AppScript::ClickButton(w, QStringLiteral("btContinue")); });
        AddLearning(script, ShortTitle, "FirstTest", AppScript::Shown("mvx::ArticleForm"));
        script.Then("short quiz ready, 播放", QuizReady(), [&quiz](QWidget *w) {
            quiz = qobject_cast<FirstTestForm *>(w);
            AppScript::ClickButton(w, QStringLiteral("btPlay"));
        });
        script.When("listened to the end", [&quiz, &heard, &reached] {
            if (quiz && quiz->Listening().Playing()) {
                const int n = quiz->Listening().CurSentence();
                if (heard.isEmpty() || heard.last() != n)
                    heard << n;
                reached[n] = std::max(reached.value(n), quiz->Listening().CurPos());
            }
            return AppScript::OpenBox() != nullptr;
        }, [] {}, 20000);
        script.ExpectBox(QStringLiteral("文章播放完毕，请做题"));
        script.Then("answered, one wrong", QuizReady(), [&clickFailures](QWidget *w) {
            auto &form = *qobject_cast<FirstTestForm *>(w);
            if (!ClickInPage(form, QStringLiteral("radio0"), OptionIndex(QLatin1Char('T')))
                || !ClickInPage(form, QStringLiteral("radio1"), OptionIndex(QLatin1Char('B')))
                || !ClickInPage(form, QStringLiteral("Submit1"), 0))
                clickFailures << QStringLiteral("short quiz");
        });
        script.ExpectBox(QStringLiteral("您的得分： 50\n"));
        script.Then("short quiz closed", QuizReady(),
                    [](QWidget *w) { AppScript::ClickButton(w, QStringLiteral("btWinClose")); });

        AddLearning(script, NoQuizTitle, "FirstTest", LibraryAlone());
        script.ExpectBox(QStringLiteral("这篇文章没有测验题。"));
        script.Then("quiz window without a quiz, closed", [] {
            auto *q = qobject_cast<FirstTestForm *>(AppScript::FindShown("mvx::FirstTestForm"));
            return q && !AppScript::OpenBox() && q->Listening().PlayEnabled() && q->Page().AnswerKey().isEmpty() ? q
                                                                                                               : nullptr;
        }, [](QWidget *w) { AppScript::ClickButton(w, QStringLiteral("btWinClose")); });
        // The program still answers: the short article's quiz opens again with its last score.
        AddLearning(script, ShortTitle, "FirstTest", LibraryAlone());
        script.Then("short quiz again", QuizReady(), [&againScoreLabel](QWidget *w) {
            againScoreLabel = qobject_cast<FirstTestForm *>(w)->LastScoreText();
            AppScript::ClickButton(w, QStringLiteral("btWinClose"));
        });
        script.Then("library, 退出", LibraryAlone(),
                    [](QWidget *w) { AppScript::ClickButton(w, QStringLiteral("btExit")); });
        script.Start();

        const int code = RunProgramShell(m_home.path, {});
        QVERIFY2(script.Finished(), qPrintable(script.Failure() + " after " + script.Done().join(", ")));
        QCOMPARE(code, 0);
        QCOMPARE(heard, (QList<int>{1, 2, 3}));
        for (int n : heard)
            QVERIFY2(reached.value(n) >= 300, qPrintable(QStringLiteral("sentence %1 reached %2 ms").arg(n).arg(reached.value(n))));
        QCOMPARE(clickFailures, QStringList());
        QVERIFY2(againScoreLabel.startsWith(QStringLiteral("上次得分：50（")), qPrintable(againScoreLabel));
        QCOMPARE(script.Unexpected(), QStringList());
    }

    void answersScoresAndKeepsTheLastScore()
    {
        AppScript script;
        QString key;
        QString firstScoreLabel;
        QString secondScoreLabel;
        QStringList clickFailures;
        script.Then("word-sound question", AppScript::Shown("mvx::CopyWordSndForm"),
                    [](QWidget *w) { AppScript::ClickButton(w, QStringLiteral("btContinue")); });
        AddLearning(script, shelltest::GoodTitle, "FirstTest", AppScript::Shown("mvx::ArticleForm"));
        script.Then("quiz with its page: answered and submitted", QuizReady(),
                    [&key, &firstScoreLabel, &clickFailures](QWidget *w) {
                        auto &quiz = *qobject_cast<FirstTestForm *>(w);
                        key = quiz.Page().AnswerKey();
                        firstScoreLabel = quiz.LastScoreText();
                        for (int k = 0; k < key.size(); ++k)
                            if (!ClickInPage(quiz, QStringLiteral("radio%1").arg(k), OptionIndex(key[k])))
                                clickFailures << QStringLiteral("radio%1").arg(k);
                        if (!ClickInPage(quiz, QStringLiteral("Submit1"), 0))
                            clickFailures << QStringLiteral("Submit1");
                    });
        script.ExpectBox(QStringLiteral("您的得分： 100\n"));
        script.Then("quiz closed", QuizReady(),
                    [](QWidget *w) { AppScript::ClickButton(w, QStringLiteral("btWinClose")); });
        AddLearning(script, shelltest::GoodTitle, "FirstTest", LibraryAlone());
        script.Then("quiz opened again", QuizReady(), [&secondScoreLabel](QWidget *w) {
            secondScoreLabel = qobject_cast<FirstTestForm *>(w)->LastScoreText();
            AppScript::ClickButton(w, QStringLiteral("btWinClose"));
        });
        script.Then("library, 退出", LibraryAlone(),
                    [](QWidget *w) { AppScript::ClickButton(w, QStringLiteral("btExit")); });
        script.Start();

        const int code = RunProgramShell(m_home.path, {});
        QVERIFY2(script.Finished(), qPrintable(script.Failure() + " after " + script.Done().join(", ")));
        QCOMPARE(code, 0);
        QCOMPARE(clickFailures, QStringList());
        QVERIFY2(key.size() >= 2, qPrintable(key));
        QCOMPARE(firstScoreLabel, QStringLiteral("还没有做过这个测验"));
        QVERIFY2(secondScoreLabel.startsWith(QStringLiteral("上次得分：100（")), qPrintable(secondScoreLabel));
        QCOMPARE(script.Unexpected(), QStringList());
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestShellQuiz t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_shell_quiz.moc"
