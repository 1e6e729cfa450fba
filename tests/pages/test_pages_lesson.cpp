// The lesson pages with the real engine and real sentence books: every layout loaded, bound
// and hooked (real clicks reach the player's named handlers), the current-sentence pages,
// highlight and styling, fonts, visibility and scrolling, and the mended faults (reopen closes
// the book, the Chinese colour, no stale halves after a failed open, events held while busy).
#include "PagesFixture.h"

#include "core/AppState.h"
#include "libs/sentra/SentraFacade.h"
#include "player/pages/FontFallback.h"
#include "player/pages/HtmlView.h"
#include "player/pages/LessonPages.h"
#include "player/pages/PageBridge.h"
#include "player/playback/PlayerOperations.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace mvx;
using namespace mvx::pages;

Q_DECLARE_METATYPE(mvx::pages::PageEvent)

// Stands in for the player window: records which named handler ran with which event.
class Recorder : public QObject
{
    Q_OBJECT
public:
    LessonPages *pages = nullptr;
    QList<QPair<QString, PageEvent>> calls;
    [[nodiscard]] int count(const QString &method, const QString &type) const
    {
        int n = 0;
        for (const auto &c : calls) {
            n += c.first == method && c.second.type == type;
        }
        return n;
    }
    [[nodiscard]] PageEvent last(const QString &method, const QString &type) const
    {
        for (auto it = calls.crbegin(); it != calls.crend(); ++it) {
            if (it->first == method && it->second.type == type) {
                return it->second;
            }
        }
        return {};
    }
    Q_INVOKABLE void ScriptHtmlEventHandler() { record("ScriptHtmlEventHandler"); }
    Q_INVOKABLE void EHtmlEventHandler() { record("EHtmlEventHandler"); }
    Q_INVOKABLE void CHtmlEventHandler() { record("CHtmlEventHandler"); }
    Q_INVOKABLE void CmtHtmlEventHandler() { record("CmtHtmlEventHandler"); }
    Q_INVOKABLE void ECurSentenceHtmlEventHandler() { record("ECurSentenceHtmlEventHandler"); }
    Q_INVOKABLE void CCurSentenceHtmlEventHandler() { record("CCurSentenceHtmlEventHandler"); }

private:
    void record(const char *name) { calls.append({QString::fromLatin1(name), pages->CurrentEvent()}); }
};

class FakePlayer final : public PlayerOperations
{
public:
    bool busy = false;
    int PlayStatus() const override { return Stopped; }
    bool AutoNext() const override { return false; }
    int CurSentence() const override { return -1; }
    int SentenceCount() const override { return 0; }
    int GetSentenceNoInAll(int n) const override { return n; }
    int BookHandle() const override { return -1; }
    int scopes = 0;  // busy scopes open now
    int entered = 0; // busy scopes opened in all
    bool IsBusy() const override { return busy || scopes > 0; }
    void EnterBusy() override
    {
        ++scopes;
        ++entered;
    }
    void LeaveBusy() override { --scopes; }
    void SetCurSentence(int) override {}
    void GoToSentence(int) override {}
    void SetCurrentPos(int) override {}
    void SetStatus(int) override {}
    void StopPlay() override {}
    void btPlay_Click() override {}
    void btStop_Click() override {}
    void btPause_Click() override {}
    void btPlaySentence_click() override {}
    void btRepeatSentence_Click() override {}
    void btAutoRepeat_Click() override {}
    void btPrev_Click() override {}
    void btNext_Click() override {}
};

class TestPagesLesson : public QObject
{
    Q_OBJECT

private:
    HtmlView *m_view = nullptr;
    LessonPages *m_pages = nullptr;
    Recorder m_recorder;
    FakePlayer m_player;
    QString m_home;
    QString m_book;

    QVariant js(const QString &script) { return m_view->runAndWait(script, 10000); }
    QString computed(const QString &frame, const QString &id, const QString &prop)
    {
        return js(QStringLiteral("__mvxAgent.computed('%1','%2','%3')").arg(frame, id, prop)).toString();
    }
    QString bodyHtml(const QString &frame)
    {
        return js(QStringLiteral("__mvxAgent.html('%1','')").arg(frame)).toString();
    }
    bool load(bool e, bool c, bool m, bool mixed, int lesson = 0)
    {
        PageShowState s;
        s.englishShown = e;
        s.chineseShown = c;
        s.commentShown = m;
        s.mixedLayout = mixed;
        m_pages->SetShowState(s);
        LessonPagesResult r;
        return m_pages->LoadLessonPages(m_book, lesson, true, r) == 1;
    }
    // Clicks a label near its right end (its last characters, not a word) or a word's centre.
    void click(const QString &frame, const QString &id, bool atEnd, Qt::MouseButton button = Qt::LeftButton)
    {
        const QVariantMap r = js(QStringLiteral("__mvxAgent.rect('%1','%2')").arg(frame, id)).toMap();
        const double x = r.value("x").toDouble() + (atEnd ? r.value("w").toDouble() - 2 : r.value("w").toDouble() / 2);
        const double y = r.value("y").toDouble() + r.value("h").toDouble() / 2;
        QTest::mouseClick(m_view->focusProxy(), button, {}, QPoint(int(x), int(y)));
    }
    // How many open descriptors of this process point at the file.
    static int openDescriptors(const QString &path)
    {
        const QString target = QFileInfo(path).canonicalFilePath();
        int n = 0;
        const QDir fds(QStringLiteral("/proc/self/fd"));
        for (const QString &fd : fds.entryList(QDir::NoDotAndDotDot | QDir::System | QDir::Files | QDir::AllEntries)) {
            n += QFileInfo(fds.filePath(fd)).symLinkTarget() == target;
        }
        return n;
    }

private slots:
    void initTestCase()
    {
        qRegisterMetaType<mvx::pages::PageEvent>();
        m_home = pagesfixture::MakeHome(qEnvironmentVariable("MVX_TEST_TMP", QDir::tempPath())
                                        + QStringLiteral("/home 课 #1"));
        m_book = m_home + QStringLiteral("/文化 习俗.dat");
        QVERIFY(pagesfixture::MakeBook(m_book, {pagesfixture::MakeLesson("First lesson", 6),
                                                pagesfixture::MakeLesson("Long lesson", 60)}));
        App().display = DisplaySettings();
        m_view = new HtmlView;
        m_view->setAllowedFolders({m_home});
        m_view->resize(900, 640);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view));
        m_pages = new LessonPages(*m_view, m_home);
        m_recorder.pages = m_pages;
        m_pages->SetEventDestination(&m_recorder, &m_player);
    }

    void cleanupTestCase()
    {
        delete m_pages;
        delete m_view;
    }

    void init()
    {
        App().display = DisplaySettings();
        m_recorder.calls.clear();
        m_player.busy = false;
    }

    void loadsEveryLayout_data()
    {
        QTest::addColumn<bool>("e");
        QTest::addColumn<bool>("c");
        QTest::addColumn<bool>("m");
        QTest::addColumn<bool>("mixed");
        QTest::addColumn<QString>("page");
        QTest::addRow("side by side, all three") << true << true << true << false << "htm111.htm";
        QTest::addRow("English and comments") << true << false << true << false << "htm101.htm";
        QTest::addRow("comments only") << false << false << true << false << "htm001.htm";
        QTest::addRow("mixed, both texts") << true << true << false << true << "htmmix110.htm";
        QTest::addRow("mixed, English only") << true << false << false << true << "htmmix100.htm";
        QTest::addRow("mixed, Chinese and comments") << false << true << true << true << "htmmix011.htm";
    }

    void loadsEveryLayout()
    {
        QFETCH(bool, e);
        QFETCH(bool, c);
        QFETCH(bool, m);
        QFETCH(bool, mixed);
        QFETCH(QString, page);
        QVERIFY2(load(e, c, m, mixed), qPrintable(m_pages->LastError()));
        QVERIFY(m_view->url().toLocalFile().endsWith("/alltmpfile/" + page));
        QCOMPARE(m_pages->SentenceCount(), 6);
        QVERIFY(m_pages->HasTitleSentence());
        QCOMPARE(m_pages->HasSentenceElement(SentenceText::English, 5), e);
        QCOMPARE(m_pages->HasSentenceElement(SentenceText::Chinese, 5), c);
        QCOMPARE(m_pages->HasSentenceElement(SentenceText::Comment, 5), m);
        QVERIFY(!m_pages->HasSentenceElement(SentenceText::Comment, 4)); // empty comment
        QVERIFY(!m_pages->HasSentenceElement(SentenceText::English, 6));
        QCOMPARE(!m_pages->GetNoLabel(1).isEmpty(), mixed && e);
        if (mixed && e && c) {
            QCOMPARE(m_pages->FrameOf(SentenceText::English), m_pages->FrameOf(SentenceText::Chinese));
        }
        const QVariantMap frames = js("__mvxAgent.frames()").toMap();
        QCOMPARE(frames.contains("ESentence"), !e);
        QCOMPARE(frames.contains("CSentence"), !c);
        QCOMPARE(frames.contains("Comment"), m);
        // In the mixed layout each half holds only its own labels.
        if (mixed && e != c) {
            const QString frame = m_pages->FrameOf(e ? SentenceText::English : SentenceText::Chinese);
            QVERIFY(frames.value(frame).toString().endsWith(e ? "tmpechtmle.htm" : "tmpechtmlc.htm"));
            QVERIFY(js(QStringLiteral("!!__mvxAgent.el('%1','%2')").arg(frame, e ? "stc1" : "ste1")).toBool() == false);
        }

        // A real click on a sentence reaches the handler bound to its page.
        const SentenceText text = e ? SentenceText::English : (c ? SentenceText::Chinese : SentenceText::Comment);
        const QString id = e ? "ste3" : (c ? "stc3" : "stz3");
        const QString method = e ? "EHtmlEventHandler" : (c ? "CHtmlEventHandler" : "CmtHtmlEventHandler");
        click(m_pages->FrameOf(text), id, true);
        QTRY_COMPARE_WITH_TIMEOUT(m_recorder.count(method, "mousedown"), 1, 10000);
        QCOMPARE(m_recorder.last(method, "mousedown").sentenceNo(), 3);
        QCOMPARE(m_recorder.last(method, "mousedown").button, 1);
    }

    void mixedLayoutHooksBothTextsEachWithItsSink()
    {
        QVERIFY(load(true, true, false, true));
        const QString frame = m_pages->FrameOf(SentenceText::English);
        click(frame, "wrd2", false, Qt::RightButton); // a word of sentence 1 ("1. " is the number label)
        QTRY_COMPARE_WITH_TIMEOUT(m_recorder.count("EHtmlEventHandler", "mousedown"), 1, 10000);
        const PageEvent w = m_recorder.last("EHtmlEventHandler", "mousedown");
        QCOMPARE(w.wordNo(), 2);
        QCOMPARE(w.button, 2);
        QVERIFY(!w.text.isEmpty());
        click(frame, "stc2", true);
        QTRY_COMPARE_WITH_TIMEOUT(m_recorder.count("CHtmlEventHandler", "mousedown"), 1, 10000);
        QCOMPARE(m_recorder.last("CHtmlEventHandler", "mousedown").sentenceNo(), 2);
        // The shared document's key handler is the Chinese page's, bound last.
        QTest::keyClick(m_view->focusProxy(), Qt::Key_F12);
        QTRY_COMPARE_WITH_TIMEOUT(m_recorder.count("CHtmlEventHandler", "keydown"), 1, 10000);
        QCOMPARE(m_recorder.last("CHtmlEventHandler", "keydown").keyCode, 123);
        QCOMPARE(m_recorder.count("EHtmlEventHandler", "keydown"), 0);
    }

    void currentSentencePagesShowPromptOrSentence()
    {
        QVERIFY(load(false, false, true, false));
        m_pages->SetAutoShow(false, false);
        m_pages->RefreshCurrentSentencePages(2);
        QVERIFY(bodyHtml("ESentence").contains("点击此处或按 C键 或 F5键显示当前句子英文"));
        QVERIFY(bodyHtml("ESentence").contains("按 F11 键可切换是否需要自动显示当前句子英文"));
        QVERIFY(bodyHtml("CSentence").contains("点击此处或按 X键 或 F3键显示当前句子译文"));
        QVERIFY(bodyHtml("CSentence").contains("按 F12 键可切换是否需要自动显示当前句子译文"));
        QVERIFY(!bodyHtml("ESentence").contains("MS Sans Serif")); // an installed face instead
        click("ESentence", "CurESentence", false);
        QTRY_COMPARE_WITH_TIMEOUT(m_recorder.count("ECurSentenceHtmlEventHandler", "mousedown"), 1, 10000);
        QCOMPARE(m_recorder.last("ECurSentenceHtmlEventHandler", "mousedown").srcId, QStringLiteral("CurESentence"));
        click("CSentence", "CurCSentence", false);
        QTRY_COMPARE_WITH_TIMEOUT(m_recorder.count("CCurSentenceHtmlEventHandler", "mousedown"), 1, 10000);

        m_pages->SetAutoShow(true, true);
        m_pages->RefreshCurrentSentencePages(3);
        QVERIFY(bodyHtml("ESentence").contains("id=\"ste3\""));
        QCOMPARE(js("__mvxAgent.el('ESentence','ste3').textContent").toString(),
                 QStringLiteral("Sentence 3 tells the news of the day & more."));
        QVERIFY(bodyHtml("CSentence").contains("第3句讲述当天的新闻。"));
        click("ESentence", "wrd3", false, Qt::RightButton);
        QTRY_COMPARE_WITH_TIMEOUT(m_recorder.count("ECurSentenceHtmlEventHandler", "mousedown"), 2, 10000);
        const PageEvent w = m_recorder.last("ECurSentenceHtmlEventHandler", "mousedown");
        QCOMPARE(w.sentenceNo(), 3);
        QCOMPARE(w.wordNo(), 3);
        QCOMPARE(w.text, QStringLiteral("tells"));
    }

    void highlightAndStylingFollowTheSettings()
    {
        QVERIFY(load(true, true, true, false));
        m_pages->ApplyDisplayOptions();
        const QString blue = "rgb(0, 0, 255)"; // CurSentenceColor 16711680, red in the low byte
        const QString red = "rgb(255, 0, 0)";  // KeywordColor 255
        const QString black = "rgb(0, 0, 0)";
        m_pages->ShowCurSentence(SentenceText::English, 1, true);
        m_pages->ShowCurSentence(SentenceText::Chinese, 1, true);
        m_pages->ShowCurSentence(SentenceText::Comment, 1, true);
        QCOMPARE(computed("English", "ste1", "color"), blue);
        QCOMPARE(js("__mvxAgent.el('English','ste1').children[2].style.color").toString(), red);
        QCOMPARE(computed("Chinese", "stc1", "color"), blue);
        QCOMPARE(computed("Comment", "stz1", "color"), blue);
        m_pages->ShowCurSentence(SentenceText::English, 1, false);
        m_pages->ShowCurSentence(SentenceText::Comment, 1, false);
        QCOMPARE(computed("English", "ste1", "color"), black);
        QCOMPARE(computed("Comment", "stz1", "color"), black);
        // The marked sentence 2 is underlined in both pages; the page colours are applied.
        QCOMPARE(js("__mvxAgent.el('English','ste2').style.textDecoration").toString(), QStringLiteral("underline"));
        QCOMPARE(js("__mvxAgent.el('Chinese','stc2').style.textDecoration").toString(), QStringLiteral("underline"));
        QCOMPARE(js("__mvxAgent.doc('English').body.style.backgroundColor").toString(), QStringLiteral("rgb(255, 255, 255)"));
        QCOMPARE(js("__mvxAgent.doc('Comment').body.style.backgroundColor").toString(), QStringLiteral("rgb(228, 228, 228)"));
        QVERIFY(js("__mvxAgent.doc('Comment').body.style.backgroundImage").toString().contains("my4.jpg"));
        // Hidden key words take the English colour, not an empty one, so they can come back.
        m_pages->ShowAllKeyWords(false);
        QCOMPARE(js("__mvxAgent.el('English','ste3').children[2].style.color").toString(), black);
        m_pages->ShowAllKeyWords(true);
        QCOMPARE(js("__mvxAgent.el('English','ste3').children[2].style.color").toString(), red);
        m_pages->ShowAllNewWords(false);
        QCOMPARE(computed("English", "wrd3", "fontWeight"), QStringLiteral("400"));
        m_pages->ShowAllNewWords(true);
        QCOMPARE(js("__mvxAgent.el('English','ste3').children[3].style.fontWeight").toString(), QStringLiteral("bold"));
    }

    void reanalysingACommentPageFindsANewComment()
    {
        QVERIFY(load(true, true, true, false));
        QVERIFY(!m_pages->HasSentenceElement(SentenceText::Comment, 2));
        js("__mvxAgent.el('Comment','stz2').textContent = 'A new comment.'");
        QVERIFY(m_pages->AnalyzeComment());
        QVERIFY(m_pages->HasSentenceElement(SentenceText::Comment, 2));
        click("Comment", "stz2", true);
        QTRY_COMPARE_WITH_TIMEOUT(m_recorder.count("CmtHtmlEventHandler", "mousedown"), 1, 10000);
        QCOMPARE(m_recorder.last("CmtHtmlEventHandler", "mousedown").sentenceNo(), 2);
    }

    void chineseColourIsConvertedLikeTheOthers()
    {
        App().display.chineseColor = 255; // red, in the settings' byte order
        App().display.englishColor = 0xFF0000; // blue
        QVERIFY(load(true, false, false, false));
        QCOMPARE(computed("English", "ste1", "color"), QStringLiteral("rgb(0, 0, 255)"));
        m_pages->SetAutoShow(false, true);
        m_pages->RefreshCurrentSentencePages(1);
        QCOMPARE(computed("CSentence", "stc1", "color"), QStringLiteral("rgb(255, 0, 0)"));
        QVERIFY(load(true, true, false, false));
        QCOMPARE(computed("Chinese", "stc1", "color"), QStringLiteral("rgb(255, 0, 0)"));
        m_pages->ShowCurSentence(SentenceText::Chinese, 1, false);
        QCOMPARE(computed("Chinese", "stc1", "color"), QStringLiteral("rgb(255, 0, 0)"));
    }

    void storedFontsFallBackToInstalledOnes()
    {
        QVERIFY(load(true, true, false, true));
        m_pages->ApplyDisplayOptions();
        const QString latin = FontFallback::EnglishFamily("MS Sans Serif");
        const QString song = FontFallback::ChineseFamily("宋体");
        QVERIFY(FontFallback::IsInstalled(latin));
        QVERIFY(FontFallback::IsInstalled(song));
        const QString frame = m_pages->FrameOf(SentenceText::English);
        QVERIFY(computed(frame, "ste1", "fontFamily").contains(latin));
        QVERIFY(computed(frame, "No1", "fontFamily").contains(latin));
        QVERIFY(computed(frame, "stc1", "fontFamily").contains(song));
        QCOMPARE(computed(frame, "ste1", "fontSize"), QStringLiteral("16px")); // 12pt
    }

    void displayStatusAndScrolling_data()
    {
        QTest::addColumn<bool>("mixed");
        QTest::addRow("side by side") << false;
        QTest::addRow("mixed") << true;
    }

    void displayStatusAndScrolling()
    {
        QFETCH(bool, mixed);
        QVERIFY(load(true, true, false, mixed, 1));
        QCOMPARE(m_pages->SentenceCount(), 60);
        QCOMPARE(m_pages->ElementDisplayingStatus(SentenceText::English, 1), 1);
        QCOMPARE(m_pages->ElementDisplayingStatus(SentenceText::English, 58), 5);
        m_pages->ScrollSentence(SentenceText::English, 58, true);
        QCOMPARE(m_pages->ElementDisplayingStatus(SentenceText::English, 58), 1);
        QCOMPARE(m_pages->ElementDisplayingStatus(SentenceText::English, 1), 0);
        QCOMPARE(m_pages->ElementDisplayingStatus(SentenceText::Comment, 1), 0); // not shown
    }

    void reopeningClosesTheBookFirst()
    {
        QVERIFY(load(true, true, true, false));
        const int first = m_pages->BookHandle();
        QVERIFY(first != -1);
        const int before = openDescriptors(m_book);
        QVERIFY(before >= 1);
        QVERIFY(load(true, true, true, true)); // a layout change regenerates
        QVERIFY(m_pages->BookHandle() != -1);
        QCOMPARE(openDescriptors(m_book), before);
        if (m_pages->BookHandle() != first) {
            QCOMPARE(bcSentraBook_Close(first), -1); // already closed
        }
        m_pages->CloseLessonPages();
        QCOMPARE(m_pages->BookHandle(), -1);
        QCOMPARE(openDescriptors(m_book), 0);
    }

    void failedOpenLeavesNoStaleHalves_data()
    {
        QTest::addColumn<QString>("book");
        QTest::addColumn<int>("lesson");
        QTest::addRow("missing book") << "missing.dat" << 0;
        QTest::addRow("lesson past the end") << "" << 7;
        QTest::addRow("file that is no book") << "alltmpfile/htm111.htm" << 0;
    }

    void failedOpenLeavesNoStaleHalves()
    {
        QFETCH(QString, book);
        QFETCH(int, lesson);
        QVERIFY(load(true, false, false, true));
        QVERIFY(QFile::exists(m_home + "/alltmpfile/tmpechtmle.htm"));
        PageShowState s = m_pages->ShowState();
        LessonPagesResult r;
        r.sentenceCount = 77;
        const QString path = book.isEmpty() ? m_book : m_home + "/" + book;
        QCOMPARE(m_pages->LoadLessonPages(path, lesson, true, r), -1);
        QCOMPARE(r.sentenceCount, 77); // untouched
        QVERIFY(!m_pages->LastError().isEmpty());
        QVERIFY(!QFile::exists(m_home + "/alltmpfile/tmpechtmle.htm"));
        QVERIFY(!QFile::exists(m_home + "/alltmpfile/tmpechtmlc.htm"));
        QCOMPARE(m_pages->BookHandle(), -1);
        QCOMPARE(openDescriptors(m_book), 0);
        // Reloading without regeneration has no book to show.
        QCOMPARE(m_pages->LoadLessonPages(QString(), -1, false, r), -1);
        m_pages->SetShowState(s);
    }

    // The pages' own waits (queries, loads) run in the player's busy scope, so a player
    // timer that fires inside them sees the player busy and changes nothing under them.
    void pageWaitsRunInThePlayersBusyScope()
    {
        QVERIFY(load(true, true, false, false));
        QCOMPARE(m_player.scopes, 0);
        bool sawBusy = false;
        bool sawIdle = false;
        QTimer tick;
        tick.setInterval(0);
        connect(&tick, &QTimer::timeout, this, [&] { (m_player.IsBusy() ? sawBusy : sawIdle) = true; });
        const int before = m_player.entered;
        tick.start();
        QCOMPARE(m_pages->Query(QStringLiteral("6 * 7"), 5000).toInt(), 42);
        tick.stop();
        QVERIFY(sawBusy);
        QVERIFY(!sawIdle);
        QCOMPARE(m_player.entered, before + 1);
        QCOMPARE(m_player.scopes, 0);
        QVERIFY(load(false, true, false, false));
        QVERIFY(m_player.entered > before + 1);
        QCOMPARE(m_player.scopes, 0);
    }

    void eventsWhileThePlayerIsBusyWaitTheirTurn()
    {
        QVERIFY(load(true, true, false, false));
        QSignalSpy dropped(m_pages, &LessonPages::eventDropped);
        m_player.busy = true;
        click("English", "ste2", true);
        QTRY_VERIFY_WITH_TIMEOUT(m_pages->HeldEventCount() >= 1, 10000);
        QTest::qWait(600); // not a double click
        const int held = m_pages->HeldEventCount();
        click("English", "ste3", true);
        QTRY_VERIFY_WITH_TIMEOUT(m_pages->HeldEventCount() > held, 10000);
        QTest::qWait(200);
        QCOMPARE(m_recorder.calls.size(), 0);
        // The wait ends: both clicks arrive, in the order they came, and nothing was lost.
        m_player.busy = false;
        QTRY_COMPARE_WITH_TIMEOUT(m_recorder.count("EHtmlEventHandler", "mousedown"), 2, 10000);
        QStringList order;
        for (const auto &c : m_recorder.calls) {
            if (c.second.type == QLatin1String("mousedown")) {
                order << (c.second.srcId.startsWith(QLatin1String("ste")) ? c.second.srcId : c.second.parentId);
            }
        }
        QCOMPARE(order, (QStringList{"ste2", "ste3"}));
        QCOMPARE(m_pages->HeldEventCount(), 0);
        QVERIFY(dropped.isEmpty());
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestPagesLesson t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_pages_lesson.moc"
