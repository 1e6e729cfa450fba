// The launcher between programs: requests over its real local server, a newer launcher
// taking over from an older one, message boxes that do not end it, and the real main
// program starting the real launcher.
#include "LauncherFixture.h"

#include "launcher/LauncherRun.h"
#include "launcher/LauncherServer.h"
#include "launcher/SuitePrograms.h"

#include "core/SingleInstance.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QMessageBox>
#include <QProcess>

using namespace launchertest;
using namespace mvx;

namespace {
const QString kLauncher = QStringLiteral(MVX_HOME "/vantrelspirit");
const QString kMainProgram = QStringLiteral(MVX_HOME "/mvxbrxspecial");

QByteArray Ask(const QByteArray &line)
{
    return AskServer(ServerName(QStringLiteral("vantrelspirit")), line, 2000);
}

// Asks a server of this very process: waits with the event loop running, so it can answer.
QByteArray AskHere(const QString &name, const QByteArray &line)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    socket.write(line + '\n');
    QElapsedTimer t;
    t.start();
    while (!socket.canReadLine() && socket.state() != QLocalSocket::UnconnectedState && t.elapsed() < 3000)
        QTest::qWait(5);
    return socket.canReadLine() ? socket.readLine().trimmed() : QByteArray();
}

bool Finished(QProcess &p, int ms)
{
    return p.state() == QProcess::NotRunning || p.waitForFinished(ms);
}
} // namespace

class TestLauncherServer : public QObject
{
    Q_OBJECT

private slots:
    void init() { ClearPrograms(); }

    void requests()
    {
        FakeClock clock;
        FakeTray tray;
        FakeBoxes boxes;
        DetachedStarter starter;
        SpiritLauncher launcher({}, clock, tray, starter, boxes);
        launcher.start();
        LauncherServer server([&](const QByteArray &line) { return launcher.answer(line); });
        const QString name = ServerName(QStringLiteral("requests"));
        {
            QFile leftover(name); // a socket a killed launcher left behind
            QVERIFY(leftover.open(QIODevice::WriteOnly));
        }
        QVERIFY(server.listen(name));
        struct Case { QByteArray line, reply; };
        for (const Case &c : {Case{"3369", "804"}, Case{"4346 15 30", "ok"}, Case{"4346 x 30", ""}, Case{"hello", ""},
                              Case{"3369 1", ""}, Case{QByteArray(300, '3'), ""}})
            QCOMPARE(AskHere(name, c.line), c.reply);
        QCOMPARE(tray.pops, QList<QPoint>{QPoint(15, 30)});
        tray.hideIcon();
        QCOMPARE(AskHere(name, "122"), QByteArray("ok")); // F11: the icon again
        QVERIFY(tray.iconShown);

        // A client that says nothing is cut off after a second.
        QLocalSocket silent;
        silent.connectToServer(name);
        QVERIFY(silent.waitForConnected(2000));
        QTRY_COMPARE_WITH_TIMEOUT(silent.state(), QLocalSocket::UnconnectedState, 3000);

        // Exit: refused while the main program runs, without a message box; then it closes.
        SingleInstance mainProgram(QStringLiteral("mvxbrxspecial"));
        QVERIFY(mainProgram.tryAcquire());
        QCOMPARE(AskHere(name, "exit"), QByteArray("refused"));
        QCOMPARE(tray.quits, 0);
        QVERIFY(tray.iconShown);
        launcher.activate(QStringLiteral("btExit")); // from the menu the learner is told
        QCOMPARE(boxes.shown, QStringList{QStringLiteral("Morvex精灵|还有Morvex英语的软件正在运行，此时不能关闭Morvex精灵。\r\n"
                                                         "请退出所有Morvex英语软件后再关闭“Morvex精灵”")});
        mainProgram.release();
        QCOMPARE(AskHere(name, "exit"), QByteArray("closing"));
        QCOMPARE(tray.quits, 1);
        QVERIFY(!tray.iconShown);
        QVERIFY(!tray.quitTimer);
        int filter = 1, busy = 1, initialised = 0;
        launcher.helper().vcGetPara(filter, busy, initialised);
        QCOMPARE(filter, 0); // the helper's filter is taken down before closing
    }

    // A newer launcher's close request is obeyed even while the main program runs.
    void closeRequestSkipsTheExitRule()
    {
        FakeClock clock;
        FakeTray tray;
        FakeBoxes boxes;
        DetachedStarter starter;
        SpiritLauncher launcher({}, clock, tray, starter, boxes);
        launcher.start();
        SingleInstance mainProgram(QStringLiteral("mvxbrxspecial"));
        QVERIFY(mainProgram.tryAcquire());
        QCOMPARE(launcher.answer("close"), QByteArray("closing"));
        QCOMPARE(tray.quits, 1);
        QCOMPARE(boxes.shown, QStringList{});
    }

    // A message box closing is not the end of the launcher, which has no other window.
    void closedMessageBoxLeavesItRunning()
    {
        ConfigureLauncherApp(*qobject_cast<QApplication *>(QCoreApplication::instance()));
        bool stillRunning = false;
        QTimer::singleShot(0, [] { PlainMessageBoxes().inform(QStringLiteral("Morvex精灵"), QStringLiteral("测试")); });
        QTimer::singleShot(300, [] {
            if (QWidget *box = QApplication::activeModalWidget())
                box->close();
        });
        QTimer::singleShot(1000, [&] {
            stillRunning = true;
            QCoreApplication::quit();
        });
        QCoreApplication::exec();
        QVERIFY(stillRunning);
    }

    // Take-over: an older launcher is told to close and the new one runs; an equal one
    // makes the new one end at once.
    void newerLauncherTakesOver()
    {
        SingleInstance older(QStringLiteral("vantrelspirit"));
        QVERIFY(older.tryAcquire());
        QByteArrayList heard;
        LauncherServer oldServer([&](const QByteArray &line) {
            heard << line;
            if (line == "close") {
                QTimer::singleShot(300, [&] { older.release(); });
                return QByteArray("closing");
            }
            return line == "3369" ? QByteArray("803") : QByteArray();
        });
        QVERIFY(oldServer.listen(ServerName(QStringLiteral("vantrelspirit"))));
        QProcess newer;
        newer.start(kLauncher, {});
        QTRY_COMPARE_WITH_TIMEOUT(heard, (QByteArrayList{"3369", "close"}), 15000);
        QTRY_COMPARE_WITH_TIMEOUT(Ask("3369"), QByteArray("804"), 15000);
        QCOMPARE(newer.state(), QProcess::Running);

        // A second launcher of the same version ends by itself and leaves the first alone.
        QProcess second;
        second.start(kLauncher, {});
        QVERIFY(second.waitForFinished(15000));
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(Ask("3369"), QByteArray("804"));
        QCOMPARE(newer.state(), QProcess::Running);

        QCOMPARE(Ask("exit"), QByteArray("closing"));
        QVERIFY(Finished(newer, 15000));
        QCOMPARE(newer.exitCode(), 0);
        QVERIFY(!SingleInstance::isHeldElsewhere(QStringLiteral("vantrelspirit")));
    }

    // The real main program starts the real launcher; the launcher will not exit while
    // the program runs and exits once it has gone.
    void mainProgramStartsTheLauncher()
    {
        QProcess main;
        main.setProgram(kMainProgram);
        main.start();
        QVERIFY(main.waitForStarted(20000));
        QTRY_COMPARE_WITH_TIMEOUT(Ask("3369"), QByteArray("804"), 60000);
        QTRY_VERIFY_WITH_TIMEOUT(SingleInstance::isHeldElsewhere(QStringLiteral("mvxbrxspecial")), 60000);

        QProcess second;
        second.start(kLauncher, {});
        QVERIFY(second.waitForFinished(15000));
        QCOMPARE(second.exitCode(), 0);

        QCOMPARE(Ask("exit"), QByteArray("refused"));
        QCOMPARE(Ask("3369"), QByteArray("804"));
        main.kill();
        QVERIFY(main.waitForFinished(20000));
        QCOMPARE(Ask("exit"), QByteArray("closing"));
        QTRY_VERIFY_WITH_TIMEOUT(!SingleInstance::isHeldElsewhere(QStringLiteral("vantrelspirit")), 15000);
        QCOMPARE(Ask("3369"), QByteArray());
    }

    // The launcher stays small: none of the main program's heavy libraries is linked in.
    void launcherNeedsNoHeavyLibraries()
    {
#ifdef MVX_SANITIZED_BUILD
        QSKIP("a sanitizer build links every library named on the line; the shipped build is checked");
#endif
        QProcess readelf;
        readelf.start(QStringLiteral("readelf"), {QStringLiteral("-d"), kLauncher});
        QVERIFY(readelf.waitForFinished(20000));
        const QString dynamic = QString::fromUtf8(readelf.readAllStandardOutput());
        QVERIFY(dynamic.contains(QStringLiteral("libQt6Widgets")));
        for (const char *heavy : {"WebEngine", "SDL2", "sndfile", "mp3lame", "espeak", "soundtouch"})
            QVERIFY2(!dynamic.contains(QLatin1String(heavy), Qt::CaseInsensitive), heavy);
    }

    void cleanup()
    {
        // A launcher left by a failed check must not outlive the test.
        if (SingleInstance::isHeldElsewhere(QStringLiteral("vantrelspirit")))
            (void)Ask("close");
    }
};

QTEST_MAIN(TestLauncherServer)
#include "test_launcher_server.moc"
