// The usage tips, the notices and the browser notice, through their real windows: files
// read as the learner's program reads them, buttons pressed with the mouse, the settings
// store and the notice service's seen serial read back.
#include "core/AppState.h"
#include "core/TextCodec.h"
#include "core/UserSettings.h"
#include "core/WaitMark.h"
#include "dialogs/AdvForm.h"
#include "dialogs/IeVersionForm.h"
#include "dialogs/Notices.h"
#include "dialogs/QmrTipsForm.h"
#include "dialogs/TipsDialog.h"
#include "libs/comm/CommLib.h"
#include "libs/comm/NoticeService.h"
#include "ui/SkinImage.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace mvx;

namespace {

const QString kSection = QStringLiteral("User");
const QString kKey = QStringLiteral("PlayLesson");

bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

SkinImage *Button(SkinnedWindow &w, const QString &tag)
{
    return w.Skin() ? w.Skin()->GetButton(tag) : nullptr;
}

void Press(SkinnedWindow &w, const QString &tag)
{
    SkinImage *b = Button(w, tag);
    QVERIFY2(b, qPrintable(tag));
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
}

} // namespace

// Records the addresses the desktop is asked to open.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};

class TestDialogsTips : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_home;
    UrlRecorder m_urls;

    QString Home(const QString &name) const { return m_home->path() + QLatin1Char('/') + name; }
    void SetUp(const QString &bottom = QStringLiteral("进入全面学习界面时显示"), bool detailHelp = true)
    {
        InitTipsDialog("tips.txt", App().appName, kSection, kKey, "x.chm::htmlsrc/mvxbrx_usage.htm", bottom, detailHelp);
    }
    QString Choice() const { return GetAppSetting(App().appName, kSection, kKey, "<absent>"); }

private slots:
    void initTestCase()
    {
        for (const char *scheme : {"http", "https", "mailto", "file", "ftp"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &m_urls, "open");
    }

    void cleanupTestCase()
    {
        for (const char *scheme : {"http", "https", "mailto", "file", "ftp"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }

    void init()
    {
        m_home = std::make_unique<QTemporaryDir>(qEnvironmentVariable("MVX_TEST_TMP") + "/tipsXXXXXX");
        App().appPath = m_home->path();
        App().skinRoot = QStringLiteral(MVX_HOME) + "/ecminterface";
        QDir::setCurrent(m_home->path());
        SaveAppSetting(App().appName, kSection, kKey, "1");
        SaveAppSetting(App().appName, "notices", "MaxViewedMsg", "0");
        m_urls.opened.clear();
        SetUp();
    }

    // ---- Tips ---------------------------------------------------------------------------

    // Line ends of both kinds, a final line end, an empty line kept as a tip, nothing trimmed.
    void tipsPageBothWays_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("tips");
        QTest::addRow("LF") << QByteArray("one\ntwo\nthree\n") << QStringList{"one", "two", "three"};
        QTest::addRow("CR LF, no final end") << QByteArray("one\r\n  two \r\nthree") << QStringList{"one", "  two ", "three"};
        QTest::addRow("empty line is a tip") << QByteArray("one\n\nthree\n") << QStringList{"one", "", "three"};
        QTest::addRow("GBK file") << QByteArray("\xb5\xda\xd2\xbb\n\xb5\xda\xb6\xfe\n\xb5\xda\xc8\xfd\n")
                                  << QStringList{"第一", "第二", "第三"};
    }
    void tipsPageBothWays()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, tips);
        QVERIFY(WriteBytes(Home("tips.txt"), bytes));
        QmrTipsForm form;
        form.Load();
        QCOMPARE(form.TotalTips()->text(), QStringLiteral("请仔细看以下使用要点，(共3条)，以便尽快学会本软件"));
        QCOMPARE(form.TipText()->text(), tips[0]);
        QStringList forward;
        for (int i = 0; i < 3; ++i) {
            Press(form, "btNextTip");
            forward << form.TipText()->text();
        }
        QCOMPARE(forward, (QStringList{tips[1], tips[2], tips[0]}));
        Press(form, "btPrevTip");
        QCOMPARE(form.TipText()->text(), tips[2]); // from the first, previous goes to the last
        QCOMPARE(form.Tips().Current(), 3);
    }

    void missingOrUnreadableTipsFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addRow("missing") << "tips.txt";
        QTest::addRow("a folder") << "folder";
        QTest::addRow("empty name") << "";
        QTest::addRow("empty file") << "empty.txt";
    }
    void missingOrUnreadableTipsFile()
    {
        QFETCH(QString, file);
        QDir().mkpath(Home("folder"));
        QVERIFY(WriteBytes(Home("empty.txt"), {}));
        InitTipsDialog(file, App().appName, kSection, kKey, "x.chm", "显示", true);
        QmrTipsForm form;
        form.Load();
        QCOMPARE(form.TotalTips()->text(), QStringLiteral("请仔细看以下使用要点，(共0条)，以便尽快学会本软件"));
        QVERIFY(form.TipText()->text().isEmpty());
        // Neither direction has anywhere to go.
        QVERIFY(!Button(form, "btNextTip")->isEnabled());
        QVERIFY(!Button(form, "btPrevTip")->isEnabled());
        Press(form, "btNextTip");
        QCOMPARE(form.Tips().Current(), 0);
    }

    // Box and label toggle alike; the choice is stored at once, as "-1" or "0".
    void checkboxStoresAtOnce()
    {
        QVERIFY(WriteBytes(Home("tips.txt"), "a\n"));
        SaveAppSetting(App().appName, "user", kKey, "7"); // the same section, spelt otherwise
        QmrTipsForm form;
        form.Load();
        QVERIFY(form.Ticked()); // any non-zero number shows
        QTest::mouseClick(form.Checkbox(), Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(!form.Ticked());
        QCOMPARE(Choice(), QStringLiteral("0"));
        QTest::mouseClick(form.CheckboxLabel(), Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(form.Ticked());
        QCOMPARE(Choice(), QStringLiteral("-1"));
        QCOMPARE(ToInt(Choice(), 0) != 0, true);
        QTest::mouseClick(form.CheckboxLabel(), Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(Choice(), QStringLiteral("0"));
        QCOMPARE(qobject_cast<QLabel *>(form.CheckboxLabel())->text(), QStringLiteral("进入全面学习界面时显示"));
    }

    void emptyBottomTextHidesBoxAndLabel()
    {
        SetUp(QString(), false);
        QmrTipsForm form;
        form.Load();
        form.show();
        QVERIFY(!form.Checkbox()->isVisible());
        QVERIFY(!form.CheckboxLabel()->isVisible());
        QVERIFY(!Button(form, "btDetailHelp")->isVisible());
        form.accept();
    }

    void markupInATipIsText()
    {
        QVERIFY(WriteBytes(Home("tips.txt"), "<img src=\"x.png\"><b>bold</b>\n"));
        QmrTipsForm form;
        form.Load();
        QCOMPARE(form.TipText()->textFormat(), Qt::PlainText);
        QCOMPARE(form.TipText()->text(), QStringLiteral("<img src=\"x.png\"><b>bold</b>"));
    }

    void detailHelpOpensTheTopic()
    {
        QString shown;
        SetHelpViewerHandler([&shown](const QString &file) { shown = file; });
        QDir().mkpath(Home("help/htmlsrc"));
        QVERIFY(WriteBytes(Home("help/htmlsrc/mvxbrx_usage.htm"), "<p>usage</p>"));
        QmrTipsForm form;
        form.Load();
        Press(form, "btDetailHelp");
        SetHelpViewerHandler({});
        QCOMPARE(QFileInfo(shown).canonicalFilePath(), QFileInfo(Home("help/htmlsrc/mvxbrx_usage.htm")).canonicalFilePath());
    }

    // ShowTipsDialog(false) respects the stored 0; ShowTipsDialog(true) shows regardless.
    void showTipsDialogAsksTheChoice()
    {
        QVERIFY(WriteBytes(Home("tips.txt"), "a\n"));
        SaveAppSetting(App().appName, kSection, kKey, "0");
        int shown = 0;
        auto closeWhenUp = [&shown] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *tips = qobject_cast<QmrTipsForm *>(w); tips && tips->isVisible()) {
                    ++shown;
                    tips->btOk_click();
                }
        };
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, closeWhenUp);
        poll.start(20);
        ShowTipsDialog(false);
        QCOMPARE(shown, 0);
        ShowTipsDialog(true);
        QCOMPARE(shown, 1);
    }

    // Every shipped tip fits the tip label without being cut.
    void shippedTipsFit()
    {
        QVERIFY(QFile::copy(QStringLiteral(MVX_SOURCE_DIR "/data/player/tip_PlayLesson.txt"), Home("tips.txt")));
        QmrTipsForm form;
        form.Load();
        const int count = form.Tips().Count();
        QVERIFY(count >= 12 && count <= 20);
        if (const QString dir = qEnvironmentVariable("MVX_DOC_SHOTS"); !dir.isEmpty()) {
            form.show();
            QVERIFY(form.grab().save(dir + "/usage-tips.png"));
        }
        for (int i = 0; i < count; ++i) {
            const QString tip = form.TipText()->text();
            QVERIFY(!tip.trimmed().isEmpty());
            const QRect needed = form.TipText()->fontMetrics().boundingRect(
                QRect(0, 0, form.TipText()->width(), 10000), Qt::TextWordWrap, tip);
            QVERIFY2(needed.height() <= form.TipText()->height(), qPrintable(tip));
            Press(form, "btNextTip");
        }
    }

    // ---- Notices ------------------------------------------------------------------------

    void noticesPageTheNewOnes()
    {
        QVERIFY(WriteBytes(Home("notices.txt"), "1.one\n2.two\n3.three\n4.four^https://example.org/4\n5.five\n"));
        AdvForm form(Home("notices.txt"), 2);
        form.Load();
        QVERIFY(form.NoticeLoaded());
        QCOMPARE(form.Heading()->text(), QStringLiteral("最新消息，共2条, 当前为第1条"));
        QCOMPARE(form.TipText()->text(), QStringLiteral("4.four"));
        QCOMPARE(form.LinkLabel()->text(), QStringLiteral("https://example.org/4"));
        Press(form, "btPrevTip"); // nothing before the first new one
        QCOMPARE(form.TipText()->text(), QStringLiteral("4.four"));
        Press(form, "btNextTip");
        QCOMPARE(form.Heading()->text(), QStringLiteral("最新消息，共2条, 当前为第2条"));
        QCOMPARE(form.TipText()->text(), QStringLiteral("5.five"));
        QVERIFY(form.LinkLabel()->text().isEmpty());
        Press(form, "btNextTip"); // nothing after the last
        QCOMPARE(form.TipText()->text(), QStringLiteral("5.five"));
        Press(form, "btOk");
        QCOMPARE(NoticeService::SeenSerial(), 5);
    }

    void closingReportsTheNoticeOnDisplay()
    {
        QVERIFY(WriteBytes(Home("notices.txt"), "1.one\n2.two\n3.three\n4.four\n5.five\n"));
        AdvForm form(Home("notices.txt"), 2);
        form.Load();
        Press(form, "btNextTip");
        Press(form, "btPrevTip");
        Press(form, "btWinClose");
        QCOMPARE(NoticeService::SeenSerial(), 4);
    }

    void noticeLinks_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("opens");
        QTest::addRow("https") << "12.News^ https://example.org/a " << "12.News" << " https://example.org/a " << true;
        QTest::addRow("http") << "12.a^http://example.org/b" << "12.a" << "http://example.org/b" << true;
        QTest::addRow("second caret is in the link") << "12.a^b^c" << "12.a" << "b^c" << false;
        QTest::addRow("mailto refused") << "12.Write^mailto:x@example.org" << "12.Write" << "mailto:x@example.org"
                                        << false;
        QTest::addRow("file refused") << "12.See^file:///etc/passwd" << "12.See" << "file:///etc/passwd" << false;
        QTest::addRow("no caret") << "12.Plain text" << "12.Plain text" << "" << false;
        QTest::addRow("markup is text") << "12.<img src=x>^https://example.org" << "12.<img src=x>"
                                        << "https://example.org" << true;
    }
    void noticeLinks()
    {
        QFETCH(QString, line);
        QFETCH(QString, text);
        QFETCH(QString, link);
        QFETCH(bool, opens);
        QVERIFY(WriteTextFile(Home("notices.txt"), {line}));
        AdvForm form(Home("notices.txt"), 1);
        form.Load();
        form.show();
        QCOMPARE(form.TipText()->text(), text);
        QCOMPARE(form.TipText()->textFormat(), Qt::PlainText);
        QCOMPARE(form.LinkLabel()->text(), link);
        QCOMPARE(form.ToLink()->isVisible(), !link.isEmpty());
        QCOMPARE(form.LinkLabel()->cursor().shape(), opens ? Qt::PointingHandCursor : Qt::ArrowCursor);
        QTest::mouseClick(form.LinkLabel(), Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(m_urls.opened.size(), opens ? 1 : 0);
        if (opens)
            QCOMPARE(m_urls.opened.first(), QUrl(link.trimmed()));
        form.accept();
        QCOMPARE(NoticeService::SeenSerial(), 12);
    }

    // Blank and space-only lines are no notices; a line without a serial reports nothing;
    // more new notices than lines pages the lines there are.
    void noticeFileEdges_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("newCount");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("first");
        QTest::addColumn<int>("reported");
        QTest::addRow("blank lines skipped") << QByteArray("1.a\n\n   \n2.b\r\n\t\n3.c\n") << 2
                                             << "最新消息，共2条, 当前为第1条" << "2.b" << 3;
        QTest::addRow("bad serial") << QByteArray("1.a\nx7.b\n") << 1 << "最新消息，共1条, 当前为第1条" << "x7.b" << 0;
        QTest::addRow("no dot") << QByteArray("1.a\nnews\n") << 1 << "最新消息，共1条, 当前为第1条" << "news" << 0;
        QTest::addRow("N above the lines") << QByteArray("8.a\n9.b\n") << 5 << "最新消息，共2条, 当前为第1条" << "8.a"
                                           << 9;
    }
    void noticeFileEdges()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, newCount);
        QFETCH(QString, heading);
        QFETCH(QString, first);
        QFETCH(int, reported);
        QVERIFY(WriteBytes(Home("notices.txt"), bytes));
        AdvForm form(Home("notices.txt"), newCount);
        form.Load();
        QVERIFY(form.NoticeLoaded());
        QCOMPARE(form.Heading()->text(), heading);
        QCOMPARE(form.TipText()->text(), first);
        for (int i = 0; i < newCount; ++i)
            Press(form, "btNextTip");
        form.accept();
        QCOMPARE(NoticeService::SeenSerial(), reported);
    }

    // Not loaded (no file, nothing new, a folder): not shown, nothing reported.
    void noticesNotLoaded_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("newCount");
        QTest::addRow("missing") << "nothing.txt" << 2;
        QTest::addRow("nothing new") << "notices.txt" << 0;
        QTest::addRow("a folder") << "folder" << 1;
        QTest::addRow("empty path") << "" << 1;
    }
    void noticesNotLoaded()
    {
        QFETCH(QString, file);
        QFETCH(int, newCount);
        QDir().mkpath(Home("folder"));
        QVERIFY(WriteBytes(Home("notices.txt"), "3.c\n"));
        AdvForm form(file.isEmpty() ? QString() : Home(file), newCount);
        form.Load();
        QVERIFY(!form.NoticeLoaded());
        form.reject();
        QCOMPARE(NoticeService::SeenSerial(), 0);
    }

    // The start-up routine with the shipped welcome notice: held while a wait runs, shown
    // once, then never again.
    void checkNewMessagesShowsNewNoticesOnce()
    {
        QVERIFY(QFile::copy(QStringLiteral(MVX_SOURCE_DIR "/data/player/notices.txt"), Home("notices.txt")));
        int shown = 0;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&shown] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *adv = qobject_cast<AdvForm *>(w); adv && adv->isVisible()) {
                    ++shown;
                    QCOMPARE(adv->Heading()->text(), QStringLiteral("最新消息，共1条, 当前为第1条"));
                    QVERIFY(adv->TipText()->text().startsWith(QStringLiteral("1.欢迎使用")));
                    if (const QString dir = qEnvironmentVariable("MVX_DOC_SHOTS"); !dir.isEmpty())
                        QVERIFY(adv->grab().save(dir + "/notices.png"));
                    adv->btOk_click();
                }
        });
        poll.start(20);
        // While a page or sound wait runs nothing opens; the window comes once it is over.
        WaitMark::Enter();
        CheckNewMessages();
        QTest::qWait(800);
        QCOMPARE(shown, 0);
        QCOMPARE(NoticeService::SeenSerial(), 0);
        WaitMark::Leave();
        QTRY_COMPARE_WITH_TIMEOUT(shown, 1, 3000);
        QCOMPARE(NoticeService::SeenSerial(), 1);
        CheckNewMessages();
        QCOMPARE(shown, 1);
        QVERIFY(m_urls.opened.isEmpty());
    }

    // ---- Browser notice -----------------------------------------------------------------

    void browserNotice()
    {
        IeVersionForm form;
        QCOMPARE(form.windowTitle(), App().productTitle);
        QCOMPARE(form.Label2()->text(), QStringLiteral("网页显示组件无法启动"));
        QVERIFY(form.Label1()->text().startsWith(QStringLiteral("    本软件用网页显示组件（Qt WebEngine）显示课文")));
        QCOMPARE(form.IeLink()->text(), QStringLiteral("请点击此处查看安装方法"));
        QCOMPARE(form.OkButton()->text(), QStringLiteral("确  定"));
        QVERIFY(!(form.windowFlags() & Qt::FramelessWindowHint));
        if (const QString dir = qEnvironmentVariable("MVX_DOC_SHOTS"); !dir.isEmpty())
            QVERIFY(form.grab().save(dir + "/browser-notice.png"));
        QTest::mouseClick(form.IeLink(), Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(m_urls.opened, QList<QUrl>{QUrl::fromLocalFile(Home("help/htmlsrc/mvxbrx_engine.htm"))});
        QVERIFY(QFile::exists(QStringLiteral(MVX_SOURCE_DIR "/data/help/pages/htmlsrc/mvxbrx_engine.htm")));
        QTimer::singleShot(50, &form, [&form] { QTest::mouseClick(form.OkButton(), Qt::LeftButton); });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QCOMPARE(m_urls.opened.size(), 1);
    }
};

QTEST_MAIN(TestDialogsTips)
#include "test_dialogs_tips.moc"
