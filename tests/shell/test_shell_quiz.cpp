// The comprehension quiz reached as a learner reaches it: the whole program in-process under
// its real event loop, the library, "初听练习" on a bundled article with its bundled quiz,
// every question answered in the page with the real mouse and submitted, the score box over
// the quiz window, the quiz closed, and the next opening showing the last score.
#include "AppScript.h"
#include "ShellHome.h"
#include "ShellSteps.h"

#include "library/ProgramShell.h"
#include "player/pages/HtmlView.h"
#include "quiz/FirstTestForm.h"
#include "quiz/QuizListening.h"
#include "quiz/QuizPage.h"

#include <QApplication>
#include <QPointer>
#include <QtTest>

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
