// The page events with the real engine: real mouse clicks on words of a real book's pages go
// through the agent, the sinks and the handling into the book, restyle the word in the page,
// and survive a reload; a right click opens the look-up beside the word; the visibility classes
// at the exact edge and above a horizontal scroll bar; a double click counted once; marks made
// since the pages were made shown after a text is hidden and shown again; an event handled
// inside another leaves the outer one its own values.
#include "EventsFakes.h"
#include "../pages/PagesFixture.h"

#include "core/AppState.h"
#include "libs/sentra/SentraFacade.h"
#include "player/events/DisplayMarks.h"
#include "player/events/LessonPagesEventSide.h"
#include "player/events/PageEventDispatcher.h"
#include "player/events/PageEventHandler.h"
#include "player/events/SentraBookMarks.h"
#include "player/pages/HtmlView.h"
#include "player/pages/PageBridge.h"
#include "player/pages/LessonPages.h"

#include <QApplication>
#include <QTest>

#include <functional>
#include <utility>

using namespace mvx;
using namespace eventsfakes;

namespace {

// The book's marks, with a hook that runs while a key word is being stored: there the test
// lets another page event in, as a message box's event loop would.
class HookedMarks final : public BookMarks
{
public:
    explicit HookedMarks(BookMarks &real) : m_real(real) {}
    std::function<void()> duringKeyword;

    bool SetKeyword(int noInAll, int k, int wordLength, bool set, bool &nowMarked) override
    {
        if (auto hook = std::exchange(duringKeyword, {}))
            hook();
        return m_real.SetKeyword(noInAll, k, wordLength, set, nowMarked);
    }
    bool SetNewword(int noInAll, int k, int wordLength, bool set, bool &nowMarked) override
    {
        return m_real.SetNewword(noInAll, k, wordLength, set, nowMarked);
    }
    bool SetDegree(int noInAll, int degree) override { return m_real.SetDegree(noInAll, degree); }
    [[nodiscard]] QString WordMean(int noInAll, const QString &word) const override
    {
        return m_real.WordMean(noInAll, word);
    }
    bool SetWordMean(int noInAll, const QString &word, const QString &meaning) override
    {
        return m_real.SetWordMean(noInAll, word, meaning);
    }
    [[nodiscard]] QString SentenceExample(int noInAll) const override { return m_real.SentenceExample(noInAll); }
    [[nodiscard]] QString SourceReference(int noInAll) const override { return m_real.SourceReference(noInAll); }

private:
    BookMarks &m_real;
};

} // namespace

class TestEventsEngine : public QObject
{
    Q_OBJECT

    pages::HtmlView *m_view = nullptr;
    pages::LessonPages *m_pages = nullptr;
    QString m_home, m_book;
    Log m_log;
    FakePlayer m_player{m_log};
    FakeDict m_dict{m_log};
    FakeSound m_sound{m_log};
    FakeReloader m_reloader{m_log};
    std::unique_ptr<LessonPagesEventSide> m_side;
    std::unique_ptr<SentraBookMarks> m_marks;
    std::unique_ptr<HookedMarks> m_hooked;
    std::unique_ptr<PageEventHandler> m_handler;
    std::unique_ptr<PageEventDispatcher> m_dispatcher;

    QVariant js(const QString &script) { return m_view->runAndWait(script, 10000); }
    QString wordStyle(int n, int k, const QString &prop)
    {
        return js(QStringLiteral("(function(){var l=__mvxAgent.el('%1','ste%2');return l.children[%3].style.%4;})()")
                      .arg(m_pages->FrameOf(SentenceText::English))
                      .arg(n)
                      .arg(k)
                      .arg(prop))
            .toString();
    }
    // A double click as the learner makes one: two presses close in time (QTest's own clicks
    // are spaced so that the engine never counts them as one).
    void doubleClick(const QPoint &at, Qt::KeyboardModifiers mods)
    {
        QWidget *w = m_view->focusProxy();
        const QPointF global = w->mapToGlobal(QPointF(at));
        static ulong stamp = 1000000;
        stamp += 10000;
        for (int i = 0; i < 4; ++i) {
            const bool press = i % 2 == 0;
            QMouseEvent e(press ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease, QPointF(at), QPointF(at),
                          global, Qt::LeftButton, press ? Qt::LeftButton : Qt::NoButton, mods);
            e.setTimestamp(stamp + ulong(i) * 30);
            QCoreApplication::sendEvent(w, &e);
        }
    }
    QPoint wordPoint(int n, int k)
    {
        const QVariantMap r =
            js(QStringLiteral("(function(){var f='%1';var l=__mvxAgent.el(f,'ste%2');var w=l.children[%3];"
                              "var b=w.getBoundingClientRect();var o=__mvxAgent.rect(f,'ste%2');"
                              "var lb=l.getBoundingClientRect();"
                              "return {x:o.x+b.left-lb.left+b.width/2,y:o.y+b.top-lb.top+b.height/2};})()")
                   .arg(m_pages->FrameOf(SentenceText::English))
                   .arg(n)
                   .arg(k))
                .toMap();
        return {int(r["x"].toDouble()), int(r["y"].toDouble())};
    }
    void clickWord(int n, int k, Qt::MouseButton button, Qt::KeyboardModifiers mods)
    {
        const QVariantMap r =
            js(QStringLiteral("(function(){var f='%1';var l=__mvxAgent.el(f,'ste%2');var w=l.children[%3];"
                              "var b=w.getBoundingClientRect();var o=__mvxAgent.rect(f,'ste%2');"
                              "var lb=l.getBoundingClientRect();"
                              "return {x:o.x+b.left-lb.left+b.width/2,y:o.y+b.top-lb.top+b.height/2};})()")
                   .arg(m_pages->FrameOf(SentenceText::English))
                   .arg(n)
                   .arg(k))
                .toMap();
        QTest::mouseClick(m_view->focusProxy(), button, mods, QPoint(int(r["x"].toDouble()), int(r["y"].toDouble())));
        // Let the event arrive before the next query: the pages drop events that come in while
        // the view is waiting for an answer.
        QTest::qWait(600);
    }
    bool load(bool mixed, int lesson = 0)
    {
        PageShowState s;
        s.mixedLayout = mixed;
        m_pages->SetShowState(s);
        LessonPagesResult r;
        if (m_pages->LoadLessonPages(m_book, lesson, true, r) != 1) {
            return false;
        }
        m_player.count = r.sentenceCount;
        m_player.first = r.lessonFirstSentence;
        m_pages->ApplyDisplayOptions();
        return true;
    }

private slots:
    void initTestCase()
    {
        m_home = pagesfixture::MakeHome(qEnvironmentVariable("MVX_TEST_TMP", QDir::tempPath())
                                        + QStringLiteral("/events home"));
        m_book = m_home + QStringLiteral("/文化习俗.dat");
        QVERIFY(pagesfixture::MakeBook(m_book, {pagesfixture::MakeLesson("First lesson", 6),
                                                pagesfixture::MakeLesson("Long lesson", 60)}));
        App().display = DisplaySettings();
        m_view = new pages::HtmlView;
        m_view->setAllowedFolders({m_home});
        m_view->resize(900, 640);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view));
        m_pages = new pages::LessonPages(*m_view, m_home);
        m_side = std::make_unique<LessonPagesEventSide>(*m_pages, *m_view);
        m_marks = std::make_unique<SentraBookMarks>([this] { return m_pages->BookHandle(); },
                                                    [this] { return m_book; });
        m_hooked = std::make_unique<HookedMarks>(*m_marks);
        m_handler = std::make_unique<PageEventHandler>(m_player, *m_side, *m_hooked, m_dict, m_sound);
        m_dispatcher = std::make_unique<PageEventDispatcher>(*m_pages, *m_handler);
        m_pages->SetEventDestination(m_dispatcher.get(), &m_player);
    }
    void cleanupTestCase()
    {
        m_pages->CloseLessonPages();
        delete m_pages;
        delete m_view;
    }

    void ctrlClicksAreStoredAndSurviveAReload_data()
    {
        QTest::addColumn<bool>("mixed");
        QTest::addRow("side by side") << false;
        QTest::addRow("mixed") << true;
    }
    void ctrlClicksAreStoredAndSurviveAReload()
    {
        QFETCH(bool, mixed);
        QVERIFY2(load(mixed), qPrintable(m_pages->LastError()));
        const QString keyword = QStringLiteral("rgb(255, 0, 0)"); // the default key-word colour
        // Sentence 4, word 5 "news": plain; Ctrl+left makes it a key word, Ctrl+right makes word 6 a new word.
        QCOMPARE(wordStyle(4, 5, "color"), QString());
        clickWord(4, 5, Qt::LeftButton, Qt::ControlModifier);
        QTRY_COMPARE_WITH_TIMEOUT(wordStyle(4, 5, "color"), keyword, 10000);
        clickWord(4, 6, Qt::RightButton, Qt::ControlModifier); // a new word
        QVERIFY(wordStyle(4, 6, "textDecoration").contains("underline"));
        // Ctrl+left on the existing key word (word 2) unmarks it: its colour is cleared.
        clickWord(4, 2, Qt::LeftButton, Qt::ControlModifier);
        QTRY_COMPARE_WITH_TIMEOUT(wordStyle(4, 2, "color"), QString(), 10000);

        QVERIFY(load(!mixed)); // the other layout: pages made again from the book
        QCOMPARE(wordStyle(4, 5, "color"), keyword);
        QVERIFY(wordStyle(4, 6, "textDecoration").contains("underline"));
        QCOMPARE(wordStyle(4, 2, "color"), QString());
        // Back to how the book was, for the next row.
        clickWord(4, 5, Qt::LeftButton, Qt::ControlModifier);
        clickWord(4, 6, Qt::RightButton, Qt::ControlModifier);
        clickWord(4, 2, Qt::LeftButton, Qt::ControlModifier);
        QTRY_COMPARE_WITH_TIMEOUT(wordStyle(4, 2, "color"), keyword, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(wordStyle(4, 5, "color"), QString(), 10000);
    }

    void plainAndRightClicks()
    {
        QVERIFY(load(false));
        m_log.calls.clear();
        m_player.status = Stopped;
        clickWord(3, 5, Qt::LeftButton, {});
        QTRY_COMPARE_WITH_TIMEOUT(m_log.calls, QStringList{"GoToSentence 3"}, 10000);
        m_log.calls.clear();
        bcSentence_SetAWordMean(m_pages->BookHandle(), m_player.first + 3, "news", QStringLiteral("新闻"));
        clickWord(3, 5, Qt::RightButton, {});
        QTRY_COMPARE_WITH_TIMEOUT(m_log.calls.size(), 1, 10000);
        QVERIFY2(m_log.calls[0].startsWith("Pop news ") && m_log.calls[0].endsWith("[新闻]"),
                 qPrintable(m_log.calls[0]));
        QCOMPARE(m_handler->LookupSentence(), 3);
        QCOMPARE(m_handler->LookupWordIdx(), 5);
    }

    void markingUnderlinesAndStores()
    {
        QVERIFY(load(false));
        DisplayMarks marks(m_player, *m_side, *m_marks, m_reloader);
        m_player.cur = 3;
        marks.btMarkSentence_Click();
        const QString e = m_pages->FrameOf(SentenceText::English);
        QTRY_COMPARE_WITH_TIMEOUT(js(QStringLiteral("__mvxAgent.inlineStyle('%1','ste3','textDecoration')").arg(e))
                                      .toString()
                                      .contains("underline"),
                                  true, 10000);
        QVERIFY(load(false));
        QCOMPARE(m_pages->SentenceDegrees().at(3), 1);
        marks.btMarkSentence_Click();
        QVERIFY(load(false));
        QCOMPARE(m_pages->SentenceDegrees().at(3), 0);
    }

    void aCtrlDoubleClickTogglesOnce()
    {
        QVERIFY(load(false));
        const QString keyword = QStringLiteral("rgb(255, 0, 0)");
        QCOMPARE(wordStyle(3, 5, "color"), QString());
        const QPoint at = wordPoint(3, 5);
        QTest::mouseMove(m_view->focusProxy(), at);
        QTest::qWait(300);
        QStringList posted;
        auto conn = connect(m_view->bridge(), &pages::PageBridge::eventPosted, this,
                            [&](const pages::PageEvent &e) { posted << e.type; });
        // A double click as the learner makes it: the engine counts the second press as one
        // (a second mouse-down with detail 2, then the double click); only the first counts.
        doubleClick(at, Qt::ControlModifier);
        // On a loaded machine the engine's events come late: wait for them, then for stragglers.
        QTRY_VERIFY_WITH_TIMEOUT(posted.count("dblclick") >= 1, 10000);
        QTest::qWait(500);
        disconnect(conn);
        QCOMPARE(posted.count("dblclick"), 1); // the engine took it for a double click
        QCOMPARE(posted.count("mousedown"), 1);
        QTRY_COMPARE_WITH_TIMEOUT(wordStyle(3, 5, "color"), keyword, 5000);
        bool now = false;
        QVERIFY(m_marks->SetKeyword(m_player.first + 3, 5, 4, false, now)); // the book agrees: it was on
        QVERIFY(!now);
    }

    // An event handed in while another is still being handled (the page's channel delivers
    // one at a time, so the inner one is the event a real click in the Chinese page posted,
    // handed in again): the inner one goes to its sentence, and the outer Ctrl+click still
    // styles its own word in its own page, not in the inner event's frame.
    void aNestedEventLeavesTheOuterOneItsOwnValues()
    {
        QVERIFY(load(false));
        const QString keyword = QStringLiteral("rgb(255, 0, 0)");
        QCOMPARE(wordStyle(2, 3, "color"), QString());
        const QVariantMap chinese =
            js(QStringLiteral("__mvxAgent.rect('%1','stc5')").arg(m_pages->FrameOf(SentenceText::Chinese))).toMap();
        QVERIFY(!chinese.isEmpty());
        m_player.status = Stopped;
        pages::PageEvent inner;
        auto capture = connect(m_view->bridge(), &pages::PageBridge::eventPosted, this, [&inner](const pages::PageEvent &e) {
            if (e.type == QLatin1String("mousedown"))
                inner = e;
        });
        QTest::mouseClick(m_view->focusProxy(), Qt::LeftButton, {},
                          QPoint(int(chinese["x"].toDouble() + 4), int(chinese["y"].toDouble() + chinese["h"].toDouble() / 2)));
        QTRY_VERIFY_WITH_TIMEOUT(!inner.frame.isEmpty(), 10000);
        disconnect(capture);
        QCOMPARE(inner.srcId, QStringLiteral("stc5"));
        QVERIFY(inner.frame != m_pages->FrameOf(SentenceText::English));
        QTest::qWait(300);

        m_log.calls.clear();
        m_hooked->duringKeyword = [&] { emit m_view->bridge()->eventPosted(inner); };
        clickWord(2, 3, Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(m_log.calls, QStringList{"GoToSentence 5"}); // the inner event was handled
        QTRY_COMPARE_WITH_TIMEOUT(wordStyle(2, 3, "color"), keyword, 10000);
        bool now = false;
        const int length = int(js(QStringLiteral("__mvxAgent.el('%1','ste2').children[3].textContent")
                                      .arg(m_pages->FrameOf(SentenceText::English)))
                                   .toString()
                                   .size());
        QVERIFY(m_marks->SetKeyword(m_player.first + 2, 3, length, false, now)); // back as it was
        QVERIFY(!now);
    }

    void showingATextAgainShowsTheMarksMadeMeanwhile()
    {
        QVERIFY(load(false));
        struct Reloader final : LessonReloader
        {
            TestEventsEngine *t;
            bool ok = true;
            void ReloadLesson(bool regenerate) override
            {
                LessonPagesResult r;
                ok = ok && t->m_pages->LoadLessonPages(regenerate ? t->m_book : QString(), regenerate ? 0 : -1,
                                                       regenerate, r) == 1;
                t->m_pages->ApplyDisplayOptions();
            }
            void ShowMessage(const QString &) override {}
        } reloader;
        reloader.t = this;
        DisplayMarks marks(m_player, *m_side, *m_marks, reloader);
        const QString keyword = QStringLiteral("rgb(255, 0, 0)");
        clickWord(5, 4, Qt::LeftButton, Qt::ControlModifier); // a key word made on the page
        QTRY_COMPARE_WITH_TIMEOUT(wordStyle(5, 4, "color"), keyword, 10000);
        QVERIFY(marks.SetTextShown(SentenceText::Chinese, false));
        QVERIFY(reloader.ok);
        QCOMPARE(wordStyle(5, 4, "color"), keyword);
        QVERIFY(marks.SetTextShown(SentenceText::Chinese, true));
        QVERIFY(reloader.ok);
        QCOMPARE(wordStyle(5, 4, "color"), keyword);
        clickWord(5, 4, Qt::LeftButton, Qt::ControlModifier); // back as it was
        QTRY_COMPARE_WITH_TIMEOUT(wordStyle(5, 4, "color"), QString(), 10000);
    }

    void aWordSavedAfterALayoutSwitchIsUnderlinedWhereItIsNow()
    {
        QVERIFY(load(false));
        m_log.calls.clear();
        clickWord(2, 6, Qt::RightButton, {}); // look-up in the side-by-side layout
        QTRY_COMPARE_WITH_TIMEOUT(m_log.calls.size(), 1, 10000);
        const QString word = m_handler->LookupWord();
        QVERIFY(!word.isEmpty());
        QVERIFY(load(true)); // then the mixed layout
        m_dict.hasSaved = true;
        m_dict.savedWord = word;
        m_dict.savedMeaning = QStringLiteral("n. 词");
        m_handler->MakeNewwordNote();
        QTRY_VERIFY_WITH_TIMEOUT(wordStyle(2, 6, "textDecoration").contains("underline"), 10000);
        m_dict.hasSaved = false;
        clickWord(2, 6, Qt::RightButton, Qt::ControlModifier); // back as it was
        QTRY_VERIFY_WITH_TIMEOUT(!wordStyle(2, 6, "textDecoration").contains("underline"), 10000);
    }

    void visibilityLeavesOutAHorizontalScrollBar()
    {
        QVERIFY(load(false, 1));
        const QString e = m_pages->FrameOf(SentenceText::English);
        // A page wider than its frame: the scroll bar covers the bottom of the visible part.
        const QVariantMap m = js(QStringLiteral(
                                     "(function(f,id){var l=__mvxAgent.el(f,id);var d=l.ownerDocument;"
                                     "var w=d.createElement('div');w.style.width='5000px';w.style.height='1px';"
                                     "d.body.appendChild(w);var se=d.scrollingElement;"
                                     "return {client:se.clientHeight,inner:d.defaultView.innerHeight};})('%1','ste20')")
                                     .arg(e))
                                  .toMap();
        if (m.value("client").toInt() >= m.value("inner").toInt())
            QSKIP("the engine draws no classic scroll bars here");
        // Sentence 20 as tall as the whole frame, scrolled to its top: its end is under the bar.
        const QString fit = QStringLiteral(
                                "(function(f,id,h){var l=__mvxAgent.el(f,id);var d=l.ownerDocument;"
                                "l.style.display='block';l.style.boxSizing='border-box';l.style.height=h+'px';"
                                "var se=d.scrollingElement;se.scrollTop=l.offsetTop;return se.scrollTop===l.offsetTop;})"
                                "('%1','ste20',%2)")
                                .arg(e);
        QVERIFY(js(fit.arg(m.value("inner").toInt())).toBool());
        QCOMPARE(m_pages->ElementDisplayingStatus(SentenceText::English, 20), 2);
        QVERIFY(js(fit.arg(m.value("client").toInt())).toBool());
        QCOMPARE(m_pages->ElementDisplayingStatus(SentenceText::English, 20), 1);
    }

    void visibilityAtTheExactEdge()
    {
        QVERIFY(load(false, 1));
        const QString e = m_pages->FrameOf(SentenceText::English);
        // Make sentence 20 exactly as tall as the page's visible part and scroll to its top.
        const QString fit = QStringLiteral(
                                "(function(f,id,d){var l=__mvxAgent.el(f,id);var w=l.ownerDocument.defaultView;"
                                "l.style.display='block';l.style.boxSizing='border-box';l.style.height=w.innerHeight+'px';"
                                "var se=l.ownerDocument.scrollingElement;se.scrollTop=l.offsetTop-d;"
                                "return se.scrollTop===l.offsetTop-d;})('%1','ste20',%2)")
                                .arg(e);
        QVERIFY(js(fit.arg(0)).toBool());
        QCOMPARE(m_pages->ElementDisplayingStatus(SentenceText::English, 20), 1);
        QVERIFY(js(fit.arg(1)).toBool()); // the element one pixel lower in the view
        QCOMPARE(m_pages->ElementDisplayingStatus(SentenceText::English, 20), 2);
    }
};

QTEST_MAIN(TestEventsEngine)
#include "test_events_engine.moc"
