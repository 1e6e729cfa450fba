// The notice serial, help page mapping, web address checks, settings-store reads and the
// disc look-ups.
#include "CommTestUtil.h"
#include "comm/CommLib.h"
#include "comm/NoticeService.h"
#include "core/AppState.h"
#include "core/SettingsStore.h"

#include <QFile>
#include <QTest>

using namespace mvx;
using namespace commtest;

class TestServices : public QObject
{
    Q_OBJECT

    QString m_home;

    void writeNotices(const QByteArray &bytes)
    {
        QFile f(m_home + QStringLiteral("/notices.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private slots:
    void initTestCase()
    {
        m_home = Scratch(QStringLiteral("home"));
        App().appPath = m_home;
        // The settings store outlives a run: start from a learner who has seen nothing.
        SettingsStore::instance().remove(App().appName, QStringLiteral("notices"), QStringLiteral("MaxViewedMsg"));
    }

    void countNew_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("seen");
        QTest::addColumn<int>("expected");
        const QStringList five = {"1.one", "2.two", "  ", "3.three^https://a.b/c", "4.four", "5.five"};
        QTest::addRow("nothing seen yet") << five << 0 << 5;
        QTest::addRow("three seen, blank lines skipped") << five << 3 << 2;
        QTest::addRow("all seen") << five << 5 << 0;
        QTest::addRow("seen beyond the file") << five << 9 << 0;
        QTest::addRow("line without a serial stops counting")
            << QStringList{"1.one", "no serial here", "7.seven"} << 0 << 1;
        QTest::addRow("empty file") << QStringList{} << 0 << 0;
    }
    void countNew()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, seen);
        QFETCH(int, expected);
        QCOMPARE(NoticeService::CountNew(lines, seen), expected);
    }

    void noticeSerialIsKept()
    {
        QCOMPARE(vcInitQmrAdv(), 1);
        QString buffer;
        QFile::remove(m_home + QStringLiteral("/notices.txt"));
        QCOMPARE(vcIfNewMsgExist(buffer), 0); // no file: nothing new
        writeNotices(QStringLiteral("1.欢迎使用\r\n\r\n2.New lessons^https://example.org/n\r\n3.third\r\n4.fourth\r\n5.fifth\r\n")
                         .toUtf8());
        QCOMPARE(vcIfNewMsgExist(buffer), 5);
        QCOMPARE(buffer, m_home + QStringLiteral("/notices.txt"));
        QCOMPARE(vcMystrlen(buffer), int(buffer.size()));
        vcSetMaxViewedMsg(4); // the learner went back to the fourth
        QCOMPARE(vcIfNewMsgExist(buffer), 1);
        vcSetMaxViewedMsg(2); // never goes back down
        QCOMPARE(vcIfNewMsgExist(buffer), 1);
        // Kept in the settings store, so a new start sees the same.
        QCOMPARE(SettingsStore::instance().value(App().appName, QStringLiteral("notices"), QStringLiteral("MaxViewedMsg"),
                                                 QString()),
                 QStringLiteral("4"));
        vcSetMaxViewedMsg(5);
        QCOMPARE(vcIfNewMsgExist(buffer), 0);
        // An old GBK notices file still counts.
        writeNotices(QByteArray("5.five\r\n6.") + QByteArray("\xd0\xc2\xbf\xce") + QByteArray("\r\n"));
        QCOMPARE(vcIfNewMsgExist(buffer), 1);
        vcEndQmrAdv();
    }

    void helpPages_data()
    {
        QTest::addColumn<QString>("helpFile");
        QTest::addColumn<QString>("page");
        QTest::addRow("topic") << "mvxbrxspecial.chm::htmlsrc/mvxbrx_hotkeys.htm" << "help/htmlsrc/mvxbrx_hotkeys.htm";
        QTest::addRow("topic with a leading slash and backslashes") << "x.chm::/htmlsrc\\sentra.htm"
                                                                     << "help/htmlsrc/sentra.htm";
        QTest::addRow("help file alone") << "mvxbrxspecial.chm" << "help/index.htm";
        QTest::addRow("topic climbing out of help") << "x.chm::../../etc/passwd" << "help/index.htm";
    }
    void helpPages()
    {
        QFETCH(QString, helpFile);
        QFETCH(QString, page);
        QCOMPARE(HelpPagePath(helpFile), m_home + QLatin1Char('/') + page);
    }

    void helpGoesToTheRegisteredViewer()
    {
        QString shown;
        SetHelpViewerHandler([&](const QString &file) { shown = file; });
        QCOMPARE(vcHtmlHelp(QStringLiteral("mvxbrxspecial.chm")), 0); // no help pages at all
        QDir().mkpath(m_home + QStringLiteral("/help/htmlsrc"));
        QFile(m_home + QStringLiteral("/help/index.htm")).open(QIODevice::WriteOnly);
        QFile(m_home + QStringLiteral("/help/htmlsrc/a.htm")).open(QIODevice::WriteOnly);
        QCOMPARE(vcHtmlHelp(QStringLiteral("m.chm::htmlsrc/a.htm")), 1);
        QCOMPARE(shown, m_home + QStringLiteral("/help/htmlsrc/a.htm"));
        // A missing topic falls back to the contents page.
        QCOMPARE(vcHtmlHelp(QStringLiteral("m.chm::htmlsrc/none.htm")), 1);
        QCOMPARE(shown, m_home + QStringLiteral("/help/index.htm"));
        SetHelpViewerHandler({});
    }

    void webAddressesOtherThanWebAndMailAreRefused_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addRow("local file") << "file:///etc/passwd";
        QTest::addRow("script") << "javascript:alert(1)";
        QTest::addRow("plain path") << "/usr/bin/xterm";
        QTest::addRow("empty") << "";
    }
    void webAddressesOtherThanWebAndMailAreRefused()
    {
        QFETCH(QString, address);
        QCOMPARE(vcHttpPage(address), 0);
    }

    void moveWindowHandler()
    {
        QList<QPair<QObject *, bool>> calls;
        SetMoveWindowHandler([&](QObject *w, bool on) { calls.append({w, on}); });
        QObject window;
        vcSetMoveWindowProc(&window, -1);
        vcSetMoveWindowProc(&window, 0);
        vcSetMoveWindowProc(nullptr, -1);
        QCOMPARE(calls.size(), 2);
        QCOMPARE(calls[0], qMakePair(&window, true));
        QCOMPARE(calls[1], qMakePair(&window, false));
        SetMoveWindowHandler({});
    }

    void registryValues()
    {
        SettingsStore::instance().setValue(QStringLiteral("SOFTWARE\\MorvexSoft\\Sentra"), QString(),
                                           QStringLiteral("InstallPath"), QStringLiteral("/opt/sentra/"));
        QString buffer;
        int size = 290;
        QCOMPARE(vcGetKeyValueString(HKEY_CURRENT_USER_ROOT, QStringLiteral("software\\morvexsoft\\sentra"),
                                     QStringLiteral("InstallPath"), buffer, size),
                 0);
        QCOMPARE(buffer, QStringLiteral("/opt/sentra/"));
        QCOMPARE(size, 12);
        size = 290;
        QCOMPARE(vcGetKeyValueString(HKEY_CURRENT_USER_ROOT, QStringLiteral("SOFTWARE\\MorvexSoft\\Sentra"),
                                     QStringLiteral("Version"), buffer, size),
                 -1);
        QVERIFY(buffer.isEmpty());
    }

    void discLookUps()
    {
        // A further volume root named by the environment stands for an inserted disc.
        const QString disc = Scratch(QStringLiteral("disc"));
        QDir().mkpath(disc + QStringLiteral("/snd"));
        QFile(disc + QStringLiteral("/snd/vocabranewsnd.idx")).open(QIODevice::WriteOnly);
        qputenv("MVX_EXTRA_VOLUMES", disc.toUtf8());
        const int code = vcIfCDROMReady(QStringLiteral("snd\\vocabranewsnd.idx"));
        QVERIFY(code > 0);
        QCOMPARE(vcCdDriveRoot(code), disc + QLatin1Char('/'));
        QString buffer;
        QCOMPARE(vcIfCdFileReady(QStringLiteral("snd\\vocabranewsnd.idx"), buffer), 1);
        QCOMPARE(buffer, disc);
        QCOMPARE(vcIfCdFileReady(QStringLiteral("snd\\no-such-library-here.idx"), buffer), 0);
        QCOMPARE(vcIfCDROMReady(QStringLiteral("snd/no-such-library-here.idx")), 0);
        QCOMPARE(vcCdDriveRoot(0), QString());
        qunsetenv("MVX_EXTRA_VOLUMES");
        QCOMPARE(vcIfFileExist(disc + QStringLiteral("\\snd\\vocabranewsnd.idx")), 1);
        QCOMPARE(vcIfFileExist(disc), 0);
    }
};

QTEST_GUILESS_MAIN(TestServices)
#include "test_comm_services.moc"
