// The whole program in-process under its real event loop, driven as a learner drives it:
// the word-sound question, the library, "全面学习" on a bundled article with real sound and
// pages, the player closed, the quiz opened and closed, the closing spelling test, a sound
// device lost, and "退出". Then the process-wide results: the exit code, the last article
// kept, the shut-down run and no window left. A lesson that cannot open keeps the program
// running with the library shown.
#include "AppScript.h"
#include "ShellHome.h"
#include "ShellSteps.h"

#include "core/AppState.h"
#include "core/UserSettings.h"
#include "libs/media/AudioOutput.h"
#include "libs/notedict/ui/SpellForm.h"
#include "library/ArticleForm.h"
#include "library/ProgramShell.h"
#include "player/form/PlayLessonForm.h"
#include "player/playback/PlaybackController.h"
#include "quiz/FirstTestForm.h"
#include "quiz/QuizListening.h"
#include "quiz/QuizPage.h"

#include <QApplication>
#include <QPointer>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QtTest>

using namespace mvx;
using mvx::testing::AppScript;
using shelltest::AddLearning;
using shelltest::LibraryAlone;

namespace {

const QString LostDevice = QStringLiteral("声音设备已断开，程序照常使用，但听不到声音。");

QStringList WindowsLeft()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList left;
    for (QWidget *w : QApplication::topLevelWidgets())
        left << QString::fromLatin1(w->metaObject()->className()) + (w->isVisible() ? "(shown)" : "");
    return left;
}

} // namespace

class TestShellE2e : public QObject
{
    Q_OBJECT

    shelltest::ShellHome m_home;

private slots:
    void initTestCase()
    {
        m_home = shelltest::MakeShellHome(QStringLiteral(MVX_HOME), qEnvironmentVariable("MVX_TEST_TMP") + "/home");
        QVERIFY2(!m_home.path.isEmpty(), "the bundled books and quizzes are built into the staged home");
    }

    // The lesson's message comes while every window is hidden; closing it must not end the
    // program: the library is shown again and takes the next command.
    void aLessonThatCannotOpenKeepsTheProgramRunning()
    {
        AppScript script;
        script.Then("word-sound question", AppScript::Shown("mvx::CopyWordSndForm"),
                    [](QWidget *w) { AppScript::ClickButton(w, QStringLiteral("btContinue")); });
        AddLearning(script, shelltest::BrokenTitle, "DetailListen", AppScript::Shown("mvx::ArticleForm"));
        script.ExpectBox(QStringLiteral("无法载入课文"));
        script.Then("library after the message", LibraryAlone(), [](QWidget *w) {
            QTest::qWait(300);
            AppScript::ClickButton(w, QStringLiteral("btExit"));
        });
        script.Start();
        const int code = RunProgramShell(m_home.path, {});
        QVERIFY2(script.Finished(), qPrintable(script.Failure()));
        QCOMPARE(code, 0);
        QCOMPARE(script.Unexpected(), QStringList());
        QCOMPARE(GetUserSetting(QString::fromLatin1(Key::LastArticle), QString()), m_home.brokenKey);
        QCOMPARE(WindowsLeft(), QStringList());
    }

    // Runs last: the sound device it loses stays lost for the rest of the process.
    void learnsPlaysAndLeaves()
    {
        AppScript script;
        script.Then("word-sound question", AppScript::Shown("mvx::CopyWordSndForm"),
                    [](QWidget *w) { AppScript::ClickButton(w, QStringLiteral("btContinue")); });
        AddLearning(script, shelltest::GoodTitle, "DetailListen", AppScript::Shown("mvx::ArticleForm"));

        // The usage tips come up over the player shortly after it opens.
        script.Then("usage tips over the player", AppScript::Shown("mvx::QmrTipsForm"), [](QWidget *w) {
            QVERIFY(qobject_cast<PlayLessonForm *>(w->parentWidget()));
            QCOMPARE(w->findChild<QLabel *>("lbTotalTips")->text().contains(QStringLiteral("使用要点")), true);
            AppScript::ClickButton(w, QStringLiteral("btOk"));
        });
        QPointer<PlayLessonForm> player;
        script.Then("player with the lesson open", [] {
            auto *p = qobject_cast<PlayLessonForm *>(AppScript::FindShown("mvx::PlayLessonForm"));
            return p && p->Controller().PlayStatus() == Stopped ? p : nullptr;
        }, [&player](QWidget *w) {
            player = qobject_cast<PlayLessonForm *>(w);
            QTest::keyClick(w, Qt::Key_G);
        });
        script.When("playing", [&player] {
            return player && player->Controller().PlayStatus() == Playing && player->Controller().CurPos() > 300;
        }, [&player] { AppScript::ClickButton(player, QStringLiteral("btWinClose")); });

        // The player is gone (not only hidden) once the library is back.
        AddLearning(script, shelltest::GoodTitle, "FirstTest", [&player]() -> QWidget * {
            return player.isNull() ? LibraryAlone()() : nullptr;
        });
        QPointer<FirstTestForm> quiz;
        script.Then("quiz with its page", [] {
            auto *q = qobject_cast<FirstTestForm *>(AppScript::FindShown("mvx::FirstTestForm"));
            return q && q->Page().Loaded() && q->Listening().PlayEnabled() ? q : nullptr;
        }, [&quiz](QWidget *w) {
            quiz = qobject_cast<FirstTestForm *>(w);
            AppScript::ClickButton(w, QStringLiteral("btWinClose"));
        });

        // The closing test: the spelling window over the article's sentences; one answer is
        // checked, then the window is closed before the end, and the library is back.
        AddLearning(script, shelltest::GoodTitle, "LastTest", [&quiz]() -> QWidget * {
            return quiz.isNull() ? LibraryAlone()() : nullptr;
        });
        QString checked;
        script.Then("spelling test window", [] {
            auto *form = qobject_cast<SpellForm *>(AppScript::FindShown("mvx::SpellForm"));
            return form && !AppScript::FindShown("mvx::ArticleForm") ? form : nullptr;
        }, [&checked](QWidget *w) {
            auto *form = qobject_cast<SpellForm *>(w);
            QTest::keyClicks(form->Answer(), QStringLiteral("the"));
            QTest::keyClick(form->Answer(), Qt::Key_Return);
            checked = form->ResultText();
            AppScript::ClickButton(w, QStringLiteral("btWinClose"));
        });
        // The sound device goes away while the program runs: said once.
        script.Then("library after the test", LibraryAlone(), [](QWidget *) {
            AudioOutput::shared().switchToSilence(LostDevice);
            AudioOutput::shared().switchToSilence(LostDevice);
        });
        script.ExpectBox(LostDevice);
        script.Then("library, 退出", LibraryAlone(), [](QWidget *w) {
            QTest::qWait(300); // a second notice would be up by now
            AppScript::ClickButton(w, QStringLiteral("btExit"));
        });
        script.Start();

        const int code = RunProgramShell(m_home.path, {});
        QVERIFY2(script.Finished(), qPrintable(script.Failure()));
        QCOMPARE(code, 0);
        QCOMPARE(script.Unexpected(), QStringList());
        QCOMPARE(script.Messages(), QStringList{LostDevice});
        QVERIFY2(QRegularExpression(QStringLiteral(" \\d+/\\d+$")).match(checked).hasMatch(), qPrintable(checked));
        QCOMPARE(GetUserSetting(QString::fromLatin1(Key::LastArticle), QString()), m_home.goodKey);
        // The shut-down ran: handles closed, sentence sounds gone.
        QCOMPARE(App().ecDictHandle, -1);
        QCOMPARE(App().wordSoundCentre, -1);
        QCOMPARE(QDir(m_home.path + "/alltmpfile").entryList({"rndsnd*"}, QDir::Files), QStringList());
        QCOMPARE(WindowsLeft(), QStringList());
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestShellE2e t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_shell_e2e.moc"
