// The excerpt dialog: destinations, the name rules, what it calls back and what it stores.
#include "../support/BuiltHome.h"
#include "core/AppState.h"
#include "core/UserSettings.h"
#include "dialogs/SaveSegForm.h"
#include "libs/comm/CommLib.h"
#include "ui/CallByName.h"
#include "ui/MessageBox.h"

#include <QLineEdit>
#include <QTimer>
#include <QtTest>

using namespace mvx;

// The calling window: records the calls and whether the dialog was still showing.
class Caller : public QObject
{
    Q_OBJECT
public:
    QStringList calls;
    QPointer<QWidget> dialog;
    bool dialogShownAtCall = false;
    Q_INVOKABLE void DigestSeg(const QString &name) { record(QStringLiteral("DigestSeg:") + name); }
    Q_INVOKABLE void DigestToSentra() { record(QStringLiteral("DigestToSentra")); }
    Q_INVOKABLE void takesInt(int) { calls << QStringLiteral("takesInt"); }
    Q_INVOKABLE void noArgs() { calls << QStringLiteral("noArgs"); }

private:
    void record(const QString &call)
    {
        calls << call;
        dialogShownAtCall = dialogShownAtCall || (dialog && dialog->isVisible());
    }
};

class TestDialogsSaveSeg : public QObject
{
    Q_OBJECT
    QStringList m_messages;
    bool m_answer = false;
    QString m_sentraFolder;

    static void SetDest(const QString &dest) { SaveUserSetting(QString::fromLatin1(Key::SaveSegDest), dest); }
    static QString Dest() { return GetUserSetting(QString::fromLatin1(Key::SaveSegDest), QStringLiteral("?")); }
    static void SetSentraPath(const QString &p)
    {
        SaveAppSetting(QStringLiteral("SOFTWARE\\MorvexSoft\\Sentra"), QString(), QStringLiteral("InstallPath"), p);
    }
    static QLineEdit *NameBox(SaveSegForm &d) { return d.findChild<QLineEdit *>(QStringLiteral("teFileName")); }
    // The dialog as the player shows it, proposing the name "n".
    static void Show(SaveSegForm &d, Caller &c)
    {
        d.Load();
        d.SetCallingForm(&c);
        d.SetFileName(QStringLiteral("n"));
        d.show();
    }

private slots:
    void initTestCase()
    {
        testhome::UseBuiltHome();
        SetMessageBoxHandler([this](const QString &text, int) {
            m_messages << text;
            return m_answer ? -1 : 0;
        });
        m_sentraFolder = qEnvironmentVariable("MVX_TEST_TMP") + QStringLiteral("/SentraHome");
        QDir().mkpath(m_sentraFolder);
    }

    void init()
    {
        m_messages.clear();
        m_answer = false;
        SetDest(QStringLiteral("Reviewer"));
        SetSentraPath(QString());
    }

    void callsByNameWithOneText()
    {
        Caller c;
        QVERIFY(CallMethodByName(&c, QStringLiteral("digestseg"), QStringLiteral("x y"))); // case does not matter
        QVERIFY(CallMethodByName(&c, QStringLiteral("DigestSeg"), QString()));
        QVERIFY(!CallMethodByName(&c, QStringLiteral("takesInt"), QStringLiteral("1")));  // not a text argument
        QVERIFY(!CallMethodByName(&c, QStringLiteral("noArgs"), QStringLiteral("1")));    // takes none
        QVERIFY(!CallMethodByName(&c, QStringLiteral("DigestToSentra"), QStringLiteral("1")));
        QVERIFY(!CallMethodByName(nullptr, QStringLiteral("DigestSeg"), QStringLiteral("1")));
        QVERIFY(CallMethodByName(&c, QStringLiteral("noArgs")));
        QCOMPARE(c.calls, (QStringList{QStringLiteral("DigestSeg:x y"), QStringLiteral("DigestSeg:"), QStringLiteral("noArgs")}));
    }

    void okCallsAfterTheDialogHasGone()
    {
        Caller c;
        SaveSegForm d;
        c.dialog = &d;
        d.Load();
        d.SetCallingForm(&c);
        d.SetFileName(QStringLiteral("12 - Ocean Life"));
        QTimer::singleShot(0, &d, [&] {
            // Reviewer: the name box has the focus and its whole text is selected.
            QCOMPARE(NameBox(d)->selectedText(), QStringLiteral("12 - Ocean Life"));
            QVERIFY(NameBox(d)->hasFocus() || !QApplication::focusWidget());
            NameBox(d)->setText(QStringLiteral("  my part  "));
            d.btOk_click();
        });
        d.exec();
        QVERIFY(c.calls.isEmpty()); // nothing is called while the dialog is up
        d.RunChoice();
        QCOMPARE(c.calls, QStringList{QStringLiteral("DigestSeg:my part")});
        QVERIFY(!c.dialogShownAtCall);
        QCOMPARE(Dest(), QStringLiteral("Reviewer"));
        d.RunChoice(); // once only
        QCOMPARE(c.calls.size(), 1);
    }

    void refusesNamesAndStaysOpen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        const QString empty = QStringLiteral("您还没有给摘录段起名字");
        const QString bad = QStringLiteral("摘录段的名字不能含有 / 或 \\，不能是 . 或 ..，也不能太长");
        QTest::newRow("a name of spaces") << "   " << empty;
        QTest::newRow("slash") << "a/b" << bad;
        QTest::newRow("backslash") << "a\\b" << bad;
        QTest::newRow("dot dot") << " .. " << bad;
        QTest::newRow("control") << QStringLiteral("a\x01") << bad;
        QTest::newRow("too long") << QString(201, u'x') << bad;
    }
    void refusesNamesAndStaysOpen()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        Caller c;
        SaveSegForm d;
        d.Load();
        d.SetCallingForm(&c);
        d.SetFileName(name);
        d.show();
        d.btOk_click();
        QCOMPARE(m_messages, QStringList{message});
        QVERIFY(d.isVisible());
        QCOMPARE(d.PendingChoice(), SaveSegForm::Choice::None);
        d.btWinClose_click(); // runs cancel: closes, calls nothing
        QVERIFY(!d.isVisible());
        d.RunChoice();
        QVERIFY(c.calls.isEmpty());
        QCOMPARE(Dest(), QStringLiteral("Reviewer"));
    }

    void sentraDestination_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("choose");
        QTest::addColumn<QString>("wantSelected");
        QTest::addColumn<bool>("wantNameBox");
        QTest::addColumn<QString>("wantCall");
        QTest::addColumn<QString>("wantDest");
        QTest::addColumn<bool>("wantIntroduction");
        QTest::newRow("stored Sentra, program gone since")
            << "Sentra" << false << false << "Sentra" << false << "" << "Sentra" << true;
        QTest::newRow("choosing Sentra uninstalled keeps Reviewer")
            << "Reviewer" << false << true << "Reviewer" << true << "DigestSeg:n" << "Reviewer" << true;
        QTest::newRow("choosing Sentra installed") << "Reviewer" << true << true << "Sentra" << false << "DigestToSentra"
                                                   << "Sentra" << false;
        QTest::newRow("stored Sentra, installed") << "Sentra" << true << false << "Sentra" << false << "DigestToSentra"
                                                  << "Sentra" << false;
    }
    void sentraDestination()
    {
        QFETCH(QString, stored);
        QFETCH(bool, installed);
        QFETCH(bool, choose);
        QFETCH(QString, wantSelected);
        QFETCH(bool, wantNameBox);
        QFETCH(QString, wantCall);
        QFETCH(QString, wantDest);
        QFETCH(bool, wantIntroduction);
        SetDest(stored);
        SetSentraPath(installed ? m_sentraFolder : QString());
        Caller c;
        SaveSegForm d;
        Show(d, c);
        if (choose)
            d.lbOpMode_MouseDown(1);
        QCOMPARE(d.SelectedDest(), wantSelected);
        QCOMPARE(d.NameBoxVisible(), wantNameBox);
        d.btOk_click();
        QVERIFY(!d.isVisible());
        d.RunChoice();
        QCOMPARE(c.calls, wantCall.isEmpty() ? QStringList() : QStringList{wantCall});
        QCOMPARE(Dest(), wantDest);
        const bool introduced = std::any_of(m_messages.begin(), m_messages.end(), [](const QString &m) {
            return m.startsWith(QStringLiteral("Morvex英语软件的独到之处")) && m.endsWith(QStringLiteral("\n\n要看看《Sentra》的介绍吗？"));
        });
        QCOMPARE(introduced, wantIntroduction);
    }

    // Yes to the introduction opens the memoriser's page in the help; nothing is called, and the
    // stored destination stays.
    void introductionYesOpensItsPage()
    {
        SetDest(QStringLiteral("Sentra"));
        QString shown;
        SetHelpViewerHandler([&shown](const QString &file) { shown = file; });
        m_answer = true;
        Caller c;
        SaveSegForm d;
        Show(d, c);
        d.btOk_click();
        d.RunChoice();
        SetHelpViewerHandler({});
        QVERIFY2(shown.endsWith(QStringLiteral("htmlsrc/sentra.htm")) && QFileInfo::exists(shown), qPrintable(shown));
        QVERIFY(c.calls.isEmpty());
        QCOMPARE(Dest(), QStringLiteral("Sentra"));
    }

    // Another destination chosen, then Cancel (or the close button): nothing called or stored.
    void cancelStoresNothing()
    {
        SetSentraPath(m_sentraFolder);
        for (const bool closeButton : {false, true}) {
            Caller c;
            SaveSegForm d;
            Show(d, c);
            d.lbOpMode_MouseDown(1);
            QCOMPARE(d.SelectedDest(), QStringLiteral("Sentra"));
            closeButton ? d.btWinClose_click() : d.btCancel_click();
            QVERIFY(!d.isVisible());
            d.RunChoice();
            QVERIFY(c.calls.isEmpty());
            QCOMPARE(Dest(), QStringLiteral("Reviewer"));
        }
    }
};

QTEST_MAIN(TestDialogsSaveSeg)
#include "test_dialogs_saveseg.moc"
