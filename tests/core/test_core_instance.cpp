#include "core/SingleInstance.h"

#include <QFileInfo>
#include <QProcess>
#include <QtTest>
#include <csignal>

using namespace mvx;

class TestCoreInstance : public QObject
{
    Q_OBJECT

private slots:
    void secondInstanceIsRefusedAndFirstUntouched()
    {
        QProcess first;
        first.start(QStringLiteral(CORE_TEST_HELPER), {QStringLiteral("hold-lock"), QStringLiteral("mvxtest")});
        QVERIFY(first.waitForReadyRead(20000));
        QCOMPARE(first.readAll().trimmed(), QByteArray("locked"));

        SingleInstance second(QStringLiteral("mvxtest"));
        QVERIFY(!second.tryAcquire());
        QVERIFY(SingleInstance::isHeldElsewhere(QStringLiteral("mvxtest")));
        QCOMPARE(first.state(), QProcess::Running);

        // The owner dies without cleaning up: the lock it left must not block the next start.
        ::kill(pid_t(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished(20000));
        // The probe reads the dead owner's file without taking or removing it.
        QVERIFY(!SingleInstance::isHeldElsewhere(QStringLiteral("mvxtest")));
        QVERIFY(QFileInfo::exists(second.lockPath()));
        QVERIFY(second.tryAcquire());
        QVERIFY(second.isHeld());
        second.release();
    }

    void separateNamesDoNotInterfere()
    {
        SingleInstance a(QStringLiteral("program-a"));
        SingleInstance b(QStringLiteral("program-b"));
        QVERIFY(a.tryAcquire());
        QVERIFY(b.tryAcquire());
        QVERIFY(RuntimeFolder().endsWith(QStringLiteral("MorvexSoft")) || RuntimeFolder().contains(QStringLiteral("MorvexSoft-")));
    }
};

QTEST_GUILESS_MAIN(TestCoreInstance)
#include "test_core_instance.moc"
