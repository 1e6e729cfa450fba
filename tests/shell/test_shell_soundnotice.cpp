// A machine without a usable sound device: the program says so once, in its own message
// box, as soon as the library window is up, and goes on working.
#include "AppScript.h"
#include "ShellHome.h"

#include "library/ProgramShell.h"

#include <QApplication>
#include <QtTest>

using mvx::testing::AppScript;

class TestShellSoundNotice : public QObject
{
    Q_OBJECT

private slots:
    void noDeviceIsToldOnceAtStart()
    {
        const shelltest::ShellHome home =
            shelltest::MakeShellHome(QStringLiteral(MVX_HOME), qEnvironmentVariable("MVX_TEST_TMP") + "/home");
        QVERIFY(!home.path.isEmpty());
        AppScript script;
        script.Then("word-sound question", AppScript::Shown("mvx::CopyWordSndForm"),
                    [](QWidget *w) { AppScript::ClickButton(w, QStringLiteral("btContinue")); });
        script.Then("library", AppScript::Shown("mvx::ArticleForm"), [](QWidget *) {});
        script.ExpectBox(QStringLiteral("没有找到可用的声音设备"));
        script.Then("library, 退出", AppScript::Shown("mvx::ArticleForm"), [](QWidget *w) {
            QTest::qWait(300); // a second notice would be up by now
            AppScript::ClickButton(w, QStringLiteral("btExit"));
        });
        script.Start();
        const int code = mvx::RunProgramShell(home.path, {});
        QVERIFY2(script.Finished(), qPrintable(script.Failure()));
        QCOMPARE(code, 0);
        QCOMPARE(script.Messages().size(), 1);
        QCOMPARE(script.Unexpected(), QStringList());
    }
};

int main(int argc, char **argv)
{
    qputenv("SDL_AUDIODRIVER", "no-such-driver"); // SDL finds no device to open
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestShellSoundNotice t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_shell_soundnotice.moc"
