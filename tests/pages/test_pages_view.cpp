// The lesson view with the real engine: the page agent in every frame of a file:// frameset
// reaches C++ through the web channel (real mouse and key input), local pages load from paths
// with spaces, "#", "%" and Chinese, and the view never leaves the program's own pages.
#include "player/pages/HtmlView.h"
#include "player/pages/LessonWebPage.h"
#include "player/pages/PageBridge.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTimer>
#include <QSignalSpy>
#include <QTest>

using namespace mvx::pages;

Q_DECLARE_METATYPE(mvx::pages::PageEvent)

class TestPagesView : public QObject
{
    Q_OBJECT

private:
    HtmlView *m_view = nullptr;
    QString m_dir;
    QList<QUrl> m_opened;

    QVariantMap rectOf(const QString &frame, const QString &id)
    {
        return m_view->runAndWait(QStringLiteral("__mvxAgent.rect('%1','%2')").arg(frame, id), 10000).toMap();
    }
    // The centre of the element's box, or a point just inside its right end (for a label
    // whose end is punctuation, not a word).
    QPoint centreOf(const QString &frame, const QString &id, bool atEnd = false)
    {
        const QVariantMap r = rectOf(frame, id);
        if (atEnd) {
            return QPoint(int(r.value("x").toDouble() + r.value("w").toDouble() - 2),
                          int(r.value("y").toDouble() + r.value("h").toDouble() / 2));
        }
        return QPoint(int(r.value("x").toDouble() + r.value("w").toDouble() / 2),
                      int(r.value("y").toDouble() + r.value("h").toDouble() / 2));
    }
    // The first posted event of that type (a mouse press also posts "selectstart").
    static PageEvent firstOfType(const QSignalSpy &spy, const QString &type)
    {
        for (const auto &args : spy) {
            const PageEvent e = args.first().value<PageEvent>();
            if (e.type == type) {
                return e;
            }
        }
        return {};
    }
    static bool hasType(const QSignalSpy &spy, const QString &type) { return !firstOfType(spy, type).type.isEmpty(); }

    QString frameUrl(const QString &frame)
    {
        return m_view->runAndWait(QStringLiteral("__mvxAgent.frames()"), 10000).toMap().value(frame).toString();
    }

private slots:
    void initTestCase()
    {
        qRegisterMetaType<mvx::pages::PageEvent>();
        const QString tmp = qEnvironmentVariable("MVX_TEST_TMP", QDir::tempPath());
        m_dir = tmp + QStringLiteral("/课文 #1 100% a");
        QDir(m_dir).removeRecursively();
        QVERIFY(QDir().mkpath(m_dir));
        for (const char *name : {"frames.htm", "e.htm", "c.htm", "m.htm"}) {
            QVERIFY(QFile::copy(QStringLiteral(MVX_TEST_DATA "/bridge/") + name, m_dir + "/" + name));
        }
        m_view = new HtmlView;
        m_view->setAllowedFolders({m_dir});
        m_view->lessonPage()->setExternalOpener([this](const QUrl &u) { m_opened.append(u); });
        m_view->resize(800, 600);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view));
    }

    void cleanupTestCase() { delete m_view; }

    void loadsFramesetFromAPathWithOddCharacters()
    {
        QString error;
        QVERIFY2(m_view->loadAndWait(m_dir + "/frames.htm", 30000, &error), qPrintable(error));
        QVERIFY(!m_view->isWaiting());
        QVERIFY(frameUrl("English").endsWith("/e.htm"));
        QVERIFY(frameUrl("Comment").endsWith("/m.htm"));
        const QVariantMap bound = m_view->runAndWait(
            "__mvxAgent.bind(["
            "{frame:'',sink:'ScriptHtmlEventHandler',keydown:true},"
            "{frame:'English',sink:'EHtmlEventHandler',keydown:true,selectstart:true,contextmenu:true,labels:'ste'},"
            "{frame:'Chinese',sink:'CHtmlEventHandler',keydown:true,selectstart:true,contextmenu:true,labels:'stc'},"
            "{frame:'Comment',sink:'CmtHtmlEventHandler',keydown:true,selectstart:true,contextmenu:true,labels:'st'}])",
            10000).toMap();
        QCOMPARE(bound.value("English").toMap().value("labels").toMap().value("ste").toList().size(), 2);
        QCOMPARE(bound.value("Comment").toMap().value("labels").toMap().value("st").toList().size(), 2);
    }

    void missingPageFailsWithAMessage()
    {
        QString error;
        QVERIFY(!m_view->loadAndWait(m_dir + "/nothere.htm", 5000, &error));
        QVERIFY(error.contains("nothere.htm"));
    }

    void clickInEveryFrameReachesCpp_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("sink");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<int>("button");
        QTest::addRow("English label, left") << "English" << "ste1" << "EHtmlEventHandler" << "LABEL" << "" << 1;
        QTest::addRow("English word, right") << "English" << "wrd2" << "EHtmlEventHandler" << "A" << "ste1" << 2;
        QTest::addRow("Chinese label in a nested frameset")
            << "Chinese" << "stc1" << "CHtmlEventHandler" << "LABEL" << "" << 1;
        QTest::addRow("comment label in the outer frameset")
            << "Comment" << "stz1" << "CmtHtmlEventHandler" << "LABEL" << "" << 1;
    }

    void clickInEveryFrameReachesCpp()
    {
        QFETCH(QString, frame);
        QFETCH(QString, id);
        QFETCH(QString, sink);
        QFETCH(QString, tag);
        QFETCH(QString, parent);
        QFETCH(int, button);
        QSignalSpy spy(m_view->bridge(), &PageBridge::eventPosted);
        const QPoint at = centreOf(frame, id, tag == "LABEL");
        QVERIFY(at.x() > 0 && at.y() > 0);
        QTest::mouseClick(m_view->focusProxy(), button == 1 ? Qt::LeftButton : Qt::RightButton, {}, at);
        QTRY_VERIFY_WITH_TIMEOUT(hasType(spy, "mousedown"), 10000);
        const PageEvent e = firstOfType(spy, "mousedown");
        QCOMPARE(e.sink, sink);
        QCOMPARE(e.frame, frame);
        QCOMPARE(e.srcTag, tag);
        QCOMPARE(e.button, button);
        if (tag == "A") {
            QCOMPARE(e.srcId, id);
            QCOMPARE(e.sentenceNo(), PageEvent::NumberOfId(parent));
            QCOMPARE(e.text, QStringLiteral("world"));
            QVERIFY(e.rect.contains(at));
        } else {
            QCOMPARE(e.srcId, id);
            QCOMPARE(e.sentenceNo(), PageEvent::NumberOfId(id));
        }
    }

    void functionKeyInAFrameIsPostedAndSwallowed()
    {
        QSignalSpy spy(m_view->bridge(), &PageBridge::eventPosted);
        QTest::mouseClick(m_view->focusProxy(), Qt::LeftButton, {}, centreOf("Chinese", "stc0"));
        QTRY_VERIFY_WITH_TIMEOUT(hasType(spy, "mousedown"), 10000);
        QTest::keyClick(m_view->focusProxy(), Qt::Key_F5);
        QTRY_VERIFY_WITH_TIMEOUT(hasType(spy, "keydown"), 10000);
        const PageEvent e = firstOfType(spy, "keydown");
        QCOMPARE(e.keyCode, 116);
        QCOMPARE(e.sink, QStringLiteral("CHtmlEventHandler"));
        // The page did not reload on F5: the bound handlers are still there.
        QCOMPARE(m_view->runAndWait("__mvxAgent.el('Chinese','stc0').style.cursor", 10000).toString(),
                 QStringLiteral("pointer"));
    }

    void navigationLeavesNoOwnPage_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<bool>("external");
        QTest::addColumn<bool>("commentEdit");
        QTest::addRow("web link opens in the browser") << "weblink" << "English" << true << false;
        QTest::addRow("local file outside the home refused") << "locallink" << "English" << false << false;
        QTest::addRow("data address refused") << "datalink" << "English" << false << false;
        QTest::addRow("comment-edit marker goes to the player") << "editlink" << "Comment" << false << true;
    }

    void navigationLeavesNoOwnPage()
    {
        QFETCH(QString, link);
        QFETCH(QString, frame);
        QFETCH(bool, external);
        QFETCH(bool, commentEdit);
        m_opened.clear();
        QSignalSpy refused(m_view->lessonPage(), &LessonWebPage::navigationRefused);
        QSignalSpy edit(m_view->lessonPage(), &LessonWebPage::commentEditRequested);
        QSignalSpy opened(m_view->lessonPage(), &LessonWebPage::openedExternally);
        const QString before = frameUrl(frame);
        m_view->run(QStringLiteral("__mvxAgent.el('%1','%2').click()").arg(frame, link));
        QTRY_VERIFY_WITH_TIMEOUT(!refused.isEmpty() || !edit.isEmpty() || !opened.isEmpty(), 10000);
        QCOMPARE(!opened.isEmpty(), external);
        QCOMPARE(m_opened.size(), external ? 1 : 0);
        QCOMPARE(!edit.isEmpty(), commentEdit);
        QCOMPARE(!refused.isEmpty(), !external && !commentEdit);
        QTest::qWait(200);
        QCOMPARE(frameUrl(frame), before);
    }

    void inputDuringAWaitIsHeldBackThenDelivered()
    {
        QLineEdit edit;
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        QTimer::singleShot(20, &edit, [&edit] { QTest::keyClicks(&edit, "ab"); });
        // The script keeps the page busy long enough for the typing to happen meanwhile.
        const QVariant r = m_view->runAndWait(
            "(function(){var t=Date.now(); while(Date.now()-t<300){} return 7;})()", 10000);
        QCOMPARE(r.toInt(), 7);
        QCOMPARE(edit.text(), QString());
        QTRY_COMPARE(edit.text(), QStringLiteral("ab"));
    }

    void topLevelWebAddressIsNotLoaded()
    {
        m_opened.clear();
        QSignalSpy opened(m_view->lessonPage(), &LessonWebPage::openedExternally);
        const QUrl before = m_view->url();
        m_view->setUrl(QUrl("https://example.org/"));
        QTRY_VERIFY_WITH_TIMEOUT(!opened.isEmpty(), 10000);
        QCOMPARE(m_opened.value(0), QUrl("https://example.org/"));
        QTest::qWait(200);
        QCOMPARE(frameUrl("English").endsWith("/e.htm"), true);
        QCOMPARE(m_view->url(), before);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestPagesView t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_pages_view.moc"
