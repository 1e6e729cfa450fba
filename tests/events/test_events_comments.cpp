// Comments edited in place with the real engine: a real book's comment page is patched (label
// markup, the line break after it, highlight, scrolling) without a reload, the book keeps the
// text whole, and the page made afresh from the book shows the same.
#include "EventsFakes.h"
#include "../pages/PagesFixture.h"

#include "core/AppState.h"
#include "libs/sentra/SentraFacade.h"
#include "player/events/CommentEditor.h"
#include "player/pages/HtmlView.h"
#include "player/pages/LessonPages.h"

#include <QApplication>
#include <QTest>

using namespace mvx;
using namespace eventsfakes;

class TestEventsComments : public QObject
{
    Q_OBJECT

    pages::HtmlView *m_view = nullptr;
    pages::LessonPages *m_pages = nullptr;
    QString m_home, m_book;
    Log m_log;
    FakePlayer m_player{m_log};
    std::unique_ptr<CommentEditor> m_editor;

    QVariant js(const QString &script) { return m_view->runAndWait(script, 10000); }
    QString frame() const { return m_pages->FrameOf(SentenceText::Comment); }
    // How many elements of the comment page carry this id, and the label's shown text.
    int count(const QString &id)
    {
        return js(QStringLiteral("__mvxAgent.doc('%1').querySelectorAll('[id=\"%2\"]').length").arg(frame(), id)).toInt();
    }
    QString shown(int n)
    {
        return js(QStringLiteral("__mvxAgent.el('%1','stz%2').innerText").arg(frame()).arg(n)).toString();
    }
    bool breakFollows(int n)
    {
        return js(QStringLiteral("(function(){var l=__mvxAgent.el('%1','stz%2');var b=l.nextElementSibling;"
                                 "return !!b && b.id==='br%2';})()").arg(frame()).arg(n)).toBool();
    }
    int scrollTop()
    {
        return js(QStringLiteral("(function(){var d=__mvxAgent.doc('%1');return (d.scrollingElement||d.documentElement).scrollTop;})()")
                      .arg(frame())).toInt();
    }
    // A colour as the page writes it back ("rgb(...)").
    QString cssColour(const QString &colour)
    {
        return js(QStringLiteral("(function(){var e=document.createElement('i');e.style.color='%1';return e.style.color;})()")
                      .arg(colour)).toString();
    }
    bool load(int lesson)
    {
        LessonPagesResult r;
        if (m_pages->LoadLessonPages(m_book, lesson, true, r) != 1)
            return false;
        m_player.count = r.sentenceCount;
        m_player.first = r.lessonFirstSentence;
        m_pages->ApplyDisplayOptions();
        return true;
    }
    [[nodiscard]] QString stored(int n) const
    {
        return bcSentence_GetComment(m_pages->BookHandle(), m_player.GetSentenceNoInAll(n));
    }

private slots:
    void initTestCase()
    {
        m_home = pagesfixture::MakeHome(qEnvironmentVariable("MVX_TEST_TMP", QDir::tempPath())
                                        + QStringLiteral("/comments home"));
        m_book = m_home + QStringLiteral("/文化习俗.dat");
        QVERIFY(pagesfixture::MakeBook(m_book, {pagesfixture::MakeLesson("Long lesson", 60)}));
        App().display = DisplaySettings();
        m_view = new pages::HtmlView;
        m_view->setAllowedFolders({m_home});
        m_view->resize(900, 640);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view));
        m_pages = new pages::LessonPages(*m_view, m_home);
        m_editor = std::make_unique<CommentEditor>(m_player, *m_pages, [this] { return m_pages->BookHandle(); });
    }
    void cleanupTestCase()
    {
        m_editor.reset();
        m_pages->CloseLessonPages();
        delete m_pages;
        delete m_view;
    }

    // Odd sentences of the fixture have a comment, even ones none. Sentence 50 lies far below
    // the visible part of the page; 3 is at its top.
    void editsPatchThePage_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<bool>("breakAfter");
        QTest::addColumn<bool>("scrolled");
        const QString markup = QStringLiteral("<b>bold</b> & \"quoted\" 'single'\nsecond line");
        QTest::addRow("added far below: one break, scrolled") << 50 << "A new note." << "A new note." << true << true;
        QTest::addRow("added in view: one break") << 2 << "注释：新的。" << "注释：新的。" << true << false;
        QTest::addRow("changed far below: no scroll") << 51 << "Another note." << "Another note." << true << false;
        QTest::addRow("deleted") << 3 << "" << "" << false << false;
        QTest::addRow("blank is deleted") << 5 << " \t\r\n " << "" << false << false;
        QTest::addRow("markup shows as typed") << 4 << markup << markup << true << false;
        QTest::addRow("trailing blanks removed") << 7 << "kept  \r\n" << "kept" << true << false;
    }
    void editsPatchThePage()
    {
        QFETCH(int, n);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(bool, breakAfter);
        QFETCH(bool, scrolled);
        QVERIFY(load(0));
        m_player.cur = n;
        const int before = scrollTop();
        QCOMPARE(before, 0);
        QVERIFY(m_editor->ModifyCurSentence(n, typed));
        QCOMPARE(stored(n), kept);
        QCOMPARE(shown(n), kept);
        QCOMPARE(count(QStringLiteral("br%1").arg(n)), breakAfter ? 1 : 0);
        QCOMPARE(breakFollows(n), breakAfter);
        QCOMPARE(scrollTop() > 0, scrolled);
        if (scrolled) // highlighted and in view now
            QCOMPARE(m_pages->ElementDisplayingStatus(SentenceText::Comment, n), 1);
        // A second save of the same text changes nothing in the page.
        QVERIFY(m_editor->ModifyCurSentence(n, typed));
        QCOMPARE(count(QStringLiteral("br%1").arg(n)), breakAfter ? 1 : 0);
        // The page made afresh from the book is the patched one.
        QVERIFY(load(0));
        QCOMPARE(shown(n), kept);
        QCOMPARE(count(QStringLiteral("br%1").arg(n)), breakAfter ? 1 : 0);
    }

    // A new comment is hooked: it takes the highlight, and the page knows it holds text.
    void newCommentIsFoundAndHighlighted()
    {
        QVERIFY(load(0));
        m_player.cur = 8;
        QVERIFY(!m_pages->HasSentenceElement(SentenceText::Comment, 8));
        QVERIFY(m_editor->ModifyCurSentence(8, QStringLiteral("Found.")));
        QVERIFY(m_pages->HasSentenceElement(SentenceText::Comment, 8));
        const QString current = cssColour(pages::LessonPages::PageColour(App().display.curSentenceColor));
        QCOMPARE(js(QStringLiteral("__mvxAgent.el('%1','stz8').style.color").arg(frame())).toString(), current);
        // Not current any more (the dialog was open while playing went on): no highlight.
        m_player.cur = 9;
        QVERIFY(m_editor->ModifyCurSentence(10, QStringLiteral("Quiet.")));
        QVERIFY(js(QStringLiteral("__mvxAgent.el('%1','stz10').style.color").arg(frame())).toString() != current);
    }

    // 100,000 characters are kept whole, in the book and in the page.
    void longCommentKeptWhole()
    {
        QVERIFY(load(0));
        QString text;
        for (int i = 0; text.size() < 100000; ++i)
            text += QStringLiteral("word%1 ").arg(i % 10);
        text = text.left(99999) + u'.';
        QVERIFY(m_editor->ModifyCurSentence(12, text));
        QCOMPARE(stored(12).size(), 100000);
        QCOMPARE(stored(12), text);
        QCOMPARE(shown(12), text);
    }

    // Comments hidden: the book is written, the page is left alone.
    void hiddenCommentsStillStored()
    {
        PageShowState s;
        s.commentShown = false;
        m_pages->SetShowState(s);
        QVERIFY(load(0));
        QVERIFY(frame().isEmpty());
        QVERIFY(m_editor->ModifyCurSentence(14, QStringLiteral("Stored while hidden.")));
        QCOMPARE(stored(14), QStringLiteral("Stored while hidden."));
        m_pages->SetShowState(PageShowState());
        QVERIFY(load(0));
        QCOMPARE(shown(14), QStringLiteral("Stored while hidden."));
        QVERIFY(breakFollows(14));
    }

    // Outside the lesson or without a book nothing is written.
    void badSentenceWritesNothing()
    {
        QVERIFY(load(0));
        QVERIFY(!m_editor->ModifyCurSentence(-1, QStringLiteral("x")));
        QVERIFY(!m_editor->ModifyCurSentence(m_player.count, QStringLiteral("x")));
        QCOMPARE(m_editor->Comment(m_player.count), QString());
    }
};

QTEST_MAIN(TestEventsComments)
#include "test_events_comments.moc"
