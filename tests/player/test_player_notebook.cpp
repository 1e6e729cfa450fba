// The notebook and the comments from the real player window: the notebook window opened for
// the lesson's words at its stored place, once at a time, closed with the player; a word's
// source shown; the comment page's edit link opening the comment dialog, whose answer is
// written to the book and into the page.
#include "../support/BuiltHome.h"
#include "../sentra/SentraFixtures.h"

#include "core/AppState.h"
#include "core/UserSettings.h"
#include "core/WorkingFiles.h"
#include "libs/notedict/NoteDictLib.h"
#include "libs/notedict/NotebookModel.h"
#include "libs/notedict/NotebookStore.h"
#include "libs/notedict/ui/DictPopupForm.h"
#include "libs/notedict/ui/NoteDictWindows.h"
#include "libs/notedict/ui/NotebookForm.h"
#include "libs/sentra/SentraFacade.h"
#include "player/events/PlayerNotebook.h"
#include "player/form/AddCommentForm.h"
#include "player/form/PlayLessonForm.h"
#include "player/pages/HtmlView.h"
#include "player/pages/LessonPages.h"
#include "player/playback/PageSide.h"
#include "player/playback/PlaybackController.h"
#include "ui/MessageBox.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QtTest>

using namespace mvx;

class TestPlayerNotebook : public QObject
{
    Q_OBJECT

    QString m_book;
    QStringList m_messages;
    QString m_note = WorkingFiles::NotebookFile;

    static bool WaitFor(const std::function<bool()> &pred, int ms = 10000) { return QTest::qWaitFor(pred, ms); }
    static pages::HtmlView *View(PlayLessonForm &form) { return static_cast<pages::HtmlView *>(form.ScriptView()); }
    static QString CommentFrame(PlayLessonForm &form)
    {
        return static_cast<pages::LessonPages &>(form.Pages()).FrameOf(SentenceText::Comment);
    }
    // Answers the comment dialog once it is up (polled: the dialog runs its own event loop).
    void AnswerDialog(const std::function<void(AddCommentForm &)> &answer, bool *seen)
    {
        auto *poll = new QTimer(this);
        poll->setInterval(50);
        connect(poll, &QTimer::timeout, this, [poll, answer, seen] {
            auto *dialog = qobject_cast<AddCommentForm *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            poll->stop();
            poll->deleteLater();
            *seen = true;
            answer(*dialog);
        });
        poll->start();
    }

private slots:
    void initTestCase()
    {
        testhome::UseBuiltHome();
        App().noteProductTag = QStringLiteral("kbt");
        QDir().mkpath(QStringLiteral("notebook"));
        m_book = fixtures::makeBook(QStringLiteral("notebook.dat"), {fixtures::sampleLesson(QStringLiteral("One")),
                                                                     fixtures::sampleLesson(QStringLiteral("Two"))});
        SetMessageBoxHandler([this](const QString &text, int) {
            m_messages << text;
            return -1;
        });
    }
    void init() { m_messages.clear(); }
    void cleanup()
    {
        CloseNoteDictWindows();
        NotebookStore store;
        if (store.open(m_note, m_note + QStringLiteral(".lib"), false))
            for (const NoteWord &w : store.words(NoteSourceRef::parse(QStringLiteral("#kbt|notebook.dat|0|99"))))
                store.removeWord(w.id);
    }

    // Lesson one's words only (not those of lesson two's title line right after it), at the
    // stored place, once; the place it is left at is used next time and stored at unload.
    void notebookOpensForTheLesson()
    {
        PlayLessonForm form;
        form.OpenLesson(m_book, 0, true);
        form.show();
        PlaybackController &c = form.Controller();
        const int last = c.GetSentenceNoInAll(c.SentenceCount() - 1);
        QCOMPARE(bcNote_AddWord(m_note, m_note + ".lib", "rain", "雨", "rein", QStringLiteral("#kbt|notebook.dat|%1").arg(last), "Rain."), 1);
        QCOMPARE(bcNote_AddWord(m_note, m_note + ".lib", "two", "二", {}, QStringLiteral("#kbt|notebook.dat|%1").arg(last + 1), "Two."), 1);
        SaveUserInt(QString::fromLatin1(Key::NotebookFormLeft), 1500);
        SaveUserInt(QString::fromLatin1(Key::NotebookFormTop), 1200);

        QVERIFY(form.DispatchClick("btNotebook"));
        QPointer<NotebookForm> notebook = CurrentNotebook();
        QVERIFY(notebook && notebook->isVisible());
        QVERIFY(m_messages.isEmpty());
        if (const QString dir = qEnvironmentVariable("MVX_DOC_SHOTS"); !dir.isEmpty()) {
            QTest::qWait(1500); // the pages painted
            form.screen()->grabWindow(0).copy(form.geometry().united(notebook->geometry()))
                .save(dir + QStringLiteral("/notebook-over-player.png"));
        }
        QCOMPARE(notebook->model().rows().size(), 1);
        QCOMPARE(notebook->model().rows().first().word, QStringLiteral("rain"));
        QCOMPARE(notebook->pos(), QPoint(TwipsToPixels(1500), TwipsToPixels(1200)));
        QVERIFY(!notebook->findChild<QWidget *>("btMatchWithSrc")->isVisible());
        QVERIFY(!notebook->findChild<QWidget *>("Sort")->isVisible());
        QVERIFY(form.DispatchClick("btNotebook")); // open already: the same window stays
        QCOMPARE(CurrentNotebook(), notebook.data());

        // The word's source: the player goes to its sentence.
        notebook->selectWord(QStringLiteral("rain"));
        QVERIFY(notebook->DispatchClick("btShowSource"));
        QCOMPARE(c.CurSentence(), c.SentenceCount() - 1);

        notebook->move(200, 150);
        notebook->close();
        QVERIFY(WaitFor([&] { return !notebook; }));
        QCOMPARE(GetUserInt(QString::fromLatin1(Key::NotebookFormLeft), 0), PixelsToTwips(200));
        QVERIFY(form.DispatchClick("btNotebook"));
        notebook = CurrentNotebook();
        QCOMPARE(notebook->pos(), QPoint(200, 150));

        // A place off every screen (a screen unplugged since) is brought onto one.
        notebook->close();
        QVERIFY(WaitFor([&] { return !notebook; }));
        SaveUserInt(QString::fromLatin1(Key::NotebookFormLeft), 900000);
        SaveUserInt(QString::fromLatin1(Key::NotebookFormTop), 900000);
        QVERIFY(form.DispatchClick("btNotebook"));
        notebook = CurrentNotebook();
        QVERIFY(form.screen()->availableGeometry().contains(notebook->geometry()));

        // Closing the player closes the notebook and stores where it was.
        notebook->move(300, 210);
        form.close();
        QVERIFY(WaitFor([&] { return !notebook || !notebook->isVisible(); }));
        QCOMPARE(GetUserInt(QString::fromLatin1(Key::NotebookFormLeft), 0), PixelsToTwips(300));
        QCOMPARE(GetUserInt(QString::fromLatin1(Key::NotebookFormTop), 0), PixelsToTwips(210));
    }

    // 2261 (a word's source from the notebook): a sentence of this lesson is gone to, stopped,
    // also from a preview; a number outside the lesson changes nothing.
    void wordSourceGoesToSentencesOfThisLessonOnly_data()
    {
        QTest::addColumn<int>("offset"); // from the lesson's sentence 0, in the whole book
        QTest::addColumn<bool>("preview");
        QTest::addColumn<int>("expected"); // current sentence after
        QTest::addRow("inside") << 2 << false << 2;
        QTest::addRow("inside, during a preview") << 2 << true << 2;
        QTest::addRow("before the lesson") << -1 << false << 1;
        QTest::addRow("after the lesson") << 1000 << false << 1;
    }
    void wordSourceGoesToSentencesOfThisLessonOnly()
    {
        QFETCH(int, offset);
        QFETCH(bool, preview);
        QFETCH(int, expected);
        PlayLessonForm form;
        form.OpenLesson(m_book, 0, true);
        form.show();
        PlaybackController &c = form.Controller();
        c.SetCurSentence(1);
        if (preview) {
            c.WaveDoubleClick();
            QCOMPARE(c.PlayStatus(), int(Previewing));
        }
        const int before = c.PlayStatus();
        QCOMPARE(form.ShowWordSrc(c.GetSentenceNoInAll(0) + offset), 0);
        QCOMPARE(c.CurSentence(), expected);
        QCOMPARE(c.PlayStatus(), expected == 1 ? before : int(Stopped));
        QVERIFY(c.MyIsButtonEnabled("btPlay"));
    }

    // End to end: a right click on a word and "存入笔记本" in the pop-up. The word is underlined
    // and bold in the page and in the notebook; saving it again marks (never toggles) and
    // adds no second entry; the mark is in the book, so it is there after the lesson reopens.
    void aWordSavedFromThePopupIsMarkedEverywhere()
    {
        PlayLessonForm form;
        form.OpenLesson(m_book, 0, true);
        form.resize(1000, 700);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const auto frame = [&] { return static_cast<pages::LessonPages &>(form.Pages()).FrameOf(SentenceText::English); };
        // The word "sign" of sentence 2: its place in the view and its child number.
        const auto wordAt = [&] {
            return View(form)
                ->runAndWait(QStringLiteral(
                                 "(function(f){var l=__mvxAgent.el(f,'ste2');var k=-1;"
                                 "for(var i=0;i<l.children.length;i++)if(l.children[i].textContent==='sign')k=i;"
                                 "if(k<0)return null;l.scrollIntoView({block:'center'});var b=l.children[k].getBoundingClientRect();"
                                 "var o=__mvxAgent.rect(f,'ste2');var lb=l.getBoundingClientRect();"
                                 "return {x:o.x+b.left-lb.left+b.width/2,y:o.y+b.top-lb.top+b.height/2,k:k};})('%1')")
                                 .arg(frame()),
                             10000)
                .toMap();
        };
        const auto look = [&](int k) {
            return View(form)
                ->runAndWait(QStringLiteral("(function(f,k){var s=__mvxAgent.el(f,'ste2').children[k].style;"
                                            "return s.textDecoration+'|'+s.fontWeight;})('%1',%2)")
                                 .arg(frame())
                                 .arg(k),
                             10000)
                .toString();
        };
        const auto save = [&]() -> int {
            const QVariantMap at = wordAt();
            if (at.isEmpty())
                return -1;
            QTest::mouseClick(View(form)->focusProxy(), Qt::RightButton, {},
                              QPoint(int(at["x"].toDouble()), int(at["y"].toDouble())));
            if (!WaitFor([] { return CurrentDictPopup() && CurrentDictPopup()->isVisible(); }))
                return -1;
            QTest::mouseClick(CurrentDictPopup()->findChild<QPushButton *>(QStringLiteral("btSaveWord")), Qt::LeftButton);
            CurrentDictPopup()->close();
            return at["k"].toInt();
        };
        const auto entries = [&] {
            NotebookStore store;
            return store.open(m_note, m_note + QStringLiteral(".lib"), false) ? store.count() : -1;
        };
        const int before = entries();

        const int k = save();
        QVERIFY(k >= 0);
        QVERIFY(WaitFor([&] { return look(k) == QStringLiteral("underline|bold"); }));
        {
            NotebookStore store;
            QVERIFY(store.open(m_note, m_note + QStringLiteral(".lib"), false));
            QVERIFY(store.find(QStringLiteral("sign")).id > 0);
        }
        const int after = entries();
        QCOMPARE(after, std::max(before, 0) + 1);

        QCOMPARE(save(), k); // again: still marked, still one entry
        QTest::qWait(300);
        QCOMPARE(look(k), QStringLiteral("underline|bold"));
        QCOMPARE(entries(), after);

        form.OpenLesson(m_book, 0, true);
        QVERIFY(WaitFor([&] { return look(k) == QStringLiteral("underline|bold"); }));
        QCOMPARE(m_messages, QStringList());
    }

    void lessonWithoutWordsSaysHow()
    {
        PlayLessonForm form;
        form.OpenLesson(m_book, 1, true);
        form.show();
        QVERIFY(form.DispatchClick("btNotebook"));
        QCOMPARE(m_messages, QStringList{PlayerNotebook::NoWordsMessage()});
        QVERIFY(!CurrentNotebook() || !CurrentNotebook()->isVisible());
    }

    // The edit link opens the dialog for the current sentence; its answer reaches the book
    // and the page, and a cancel changes nothing.
    void commentEditedByItsLink()
    {
        PlayLessonForm form;
        form.OpenLesson(m_book, 0, true);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        PlaybackController &c = form.Controller();
        c.SetCurSentence(2); // no comment yet
        const int noInAll = c.GetSentenceNoInAll(2);
        const QString frame = CommentFrame(form);
        QVERIFY(!frame.isEmpty());
        const auto followLink = [&] {
            View(form)->run(QStringLiteral("__mvxAgent.doc('%1').querySelector('a').click()").arg(frame));
        };
        const auto shown = [&] {
            return View(form)->runAndWait(QStringLiteral("__mvxAgent.el('%1','stz2').innerText").arg(frame), 5000).toString();
        };

        bool seen = false;
        bool deleteShown = true;
        QPoint at;
        AnswerDialog([&](AddCommentForm &d) {
            deleteShown = d.Skin()->GetButton(QStringLiteral("btDelete"))->isVisible();
            at = d.pos();
            d.TextBox()->setPlainText(QStringLiteral("  It's <b>a sign</b> & more.\nSecond line.  "));
            QTest::keyClick(d.TextBox(), Qt::Key_Return, Qt::ControlModifier);
        }, &seen);
        followLink();
        QVERIFY(WaitFor([&] { return seen && !QApplication::activeModalWidget(); }));
        QVERIFY(!deleteShown); // empty comment: nothing to delete
        QCOMPARE(at, form.geometry().topLeft());
        QCOMPARE(bcSentence_GetComment(c.BookHandle(), noInAll), QStringLiteral("It's <b>a sign</b> & more.\nSecond line."));
        QVERIFY(WaitFor([&] { return shown() == QStringLiteral("It's <b>a sign</b> & more.\nSecond line."); }));

        seen = false;
        AnswerDialog([&](AddCommentForm &d) {
            deleteShown = d.Skin()->GetButton(QStringLiteral("btDelete"))->isVisible();
            if (const QString dir = qEnvironmentVariable("MVX_DOC_SHOTS"); !dir.isEmpty())
                d.grab().save(dir + QStringLiteral("/comment-dialog.png"));
            d.TextBox()->setPlainText(QStringLiteral("Not kept."));
            QTest::keyClick(d.TextBox(), Qt::Key_Escape);
        }, &seen);
        followLink();
        QVERIFY(WaitFor([&] { return seen && !QApplication::activeModalWidget(); }));
        QVERIFY(deleteShown);
        QCOMPARE(bcSentence_GetComment(c.BookHandle(), noInAll), QStringLiteral("It's <b>a sign</b> & more.\nSecond line."));

        seen = false;
        AnswerDialog([&](AddCommentForm &d) { d.DispatchClick(QStringLiteral("btDelete")); }, &seen);
        followLink();
        QVERIFY(WaitFor([&] { return seen && !QApplication::activeModalWidget(); }));
        QCOMPARE(bcSentence_GetComment(c.BookHandle(), noInAll), QString());
        QVERIFY(WaitFor([&] { return shown().isEmpty(); }));

        // Playing goes on under the dialog: the text goes to the sentence it was opened for.
        const int next = c.GetSentenceNoInAll(3);
        const QString nextComment = bcSentence_GetComment(c.BookHandle(), next);
        seen = false;
        AnswerDialog([&](AddCommentForm &d) {
            c.SetCurSentence(3);
            d.TextBox()->setPlainText(QStringLiteral("For sentence two."));
            QTest::keyClick(d.TextBox(), Qt::Key_Return, Qt::ControlModifier);
        }, &seen);
        followLink();
        QVERIFY(WaitFor([&] { return seen && !QApplication::activeModalWidget(); }));
        QCOMPARE(c.CurSentence(), 3);
        QCOMPARE(bcSentence_GetComment(c.BookHandle(), noInAll), QStringLiteral("For sentence two."));
        QCOMPARE(bcSentence_GetComment(c.BookHandle(), next), nextComment);
        QVERIFY(WaitFor([&] { return shown() == QStringLiteral("For sentence two."); }));
    }
};

QTEST_MAIN(TestPlayerNotebook)
#include "test_player_notebook.moc"
