// The drill windows from the real player window: the word summary (book kept open, player
// hidden, no reload), browsing (player visible, pages always rebuilt), speaking and the
// shuffled recitation (player hidden; an unchanged book reopened with the pages and the
// current sentence kept, a changed one reloaded), each from the current sentence on.
#include "../support/BuiltHome.h"
#include "../sentra/SentraFixtures.h"

#include "core/AppState.h"
#include "core/WorkingFiles.h"
#include "libs/notedict/ui/BrowseForm.h"
#include "libs/notedict/ui/ShuffleForm.h"
#include "libs/notedict/ui/SpeakForm.h"
#include "libs/notedict/ui/WordSummaryForm.h"
#include "player/form/PlayLessonForm.h"
#include "player/form/WordSummaryModeForm.h"
#include "player/pages/HtmlView.h"
#include "player/pages/LessonPages.h"
#include "player/playback/PageSide.h"
#include "player/playback/PlaybackController.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QListWidget>
#include <QtTest>

using namespace mvx;

namespace {

// What the test saw of a drill window while it was up.
struct Seen
{
    QString window;      // its form name
    int items = -1;      // its sentences (or words, for the summary)
    bool playerVisible = false;
};

} // namespace

class TestPlayerDrills : public QObject
{
    Q_OBJECT

    QString m_book;
    QStringList m_messages;

    static bool WaitFor(const std::function<bool()> &pred, int ms = 10000) { return QTest::qWaitFor(pred, ms); }

    // The text of sentence n's English label in the page.
    static QString PageEnglish(PlayLessonForm &form, int n)
    {
        auto &pages = static_cast<pages::LessonPages &>(form.Pages());
        auto *view = static_cast<pages::HtmlView *>(form.ScriptView());
        return view->runAndWait(QStringLiteral("(function(){var l=__mvxAgent.el('%1','ste%2');return l?l.textContent:'';})()")
                                    .arg(pages.FrameOf(SentenceText::English))
                                    .arg(n),
                                3000)
            .toString()
            .trimmed();
    }

    // Watches for a drill window; act runs on it once, then it is closed.
    void WatchDrill(PlayLessonForm &form, Seen *seen, const std::function<void(QWidget *)> &act = {})
    {
        auto *poll = new QTimer(this);
        poll->setInterval(30);
        connect(poll, &QTimer::timeout, this, [poll, &form, seen, act] {
            QWidget *w = QApplication::activeModalWidget();
            auto *drill = qobject_cast<DrillWindow *>(w);
            if (!drill || !drill->isVisible())
                return;
            poll->stop();
            poll->deleteLater();
            seen->window = drill->FormName();
            seen->playerVisible = form.isVisible();
            if (auto *s = qobject_cast<SpeakForm *>(w))
                seen->items = s->Count();
            else if (auto *s = qobject_cast<ShuffleForm *>(w))
                seen->items = s->Session().Count();
            else if (auto *b = qobject_cast<BrowseForm *>(w))
                seen->items = b->SentenceList()->count();
            else if (auto *ws = qobject_cast<WordSummaryForm *>(w))
                seen->items = ws->WordList()->count();
            if (act)
                act(w);
            drill->reject();
        });
        poll->start();
    }

private slots:
    void initTestCase()
    {
        testhome::UseBuiltHome();
        App().noteProductTag = QStringLiteral("kbt");
        QDir().mkpath(QStringLiteral("notebook"));
        m_book = fixtures::makeBook(QStringLiteral("drills.dat"), {fixtures::sampleLesson(QStringLiteral("One")),
                                                                   fixtures::sampleLesson(QStringLiteral("Two"))});
        SetMessageBoxHandler([this](const QString &text, int) {
            m_messages << text;
            return -1;
        });
    }
    void init() { m_messages.clear(); }

    // Each drill from the current sentence: the count it covers, whether the player stays
    // visible, and what happens to the pages when nothing changed (kept, or always rebuilt
    // for browsing); the current sentence stays and sounds again.
    void drillsReturnToThePlayer_data()
    {
        QTest::addColumn<QString>("drill");
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("items");
        QTest::addColumn<bool>("playerVisible");
        QTest::addColumn<bool>("rebuilt");
        QTest::addRow("speak, W") << "W" << 1 << "SpeakForm" << 3 << false << false;
        QTest::addRow("speak, Alt+A, last sentence") << "Alt+A" << 3 << "SpeakForm" << 1 << false << false;
        QTest::addRow("shuffled recitation") << "rbShuffle" << 2 << "ShuffleForm" << 2 << false << false;
        QTest::addRow("browse, last sentence: the next lesson not shown") << "btBrowse" << 3 << "BrowseForm" << 1 << true << true;
        QTest::addRow("browse") << "btBrowse" << 1 << "BrowseForm" << 3 << true << true;
    }
    void drillsReturnToThePlayer()
    {
        QFETCH(QString, drill);
        QFETCH(int, current);
        QFETCH(QString, window);
        QFETCH(int, items);
        QFETCH(bool, playerVisible);
        QFETCH(bool, rebuilt);
        PlayLessonForm form;
        form.OpenLesson(m_book, 0, true);
        form.show();
        form.Controller().SetCurSentence(current);
        QVERIFY(QFile::remove(WorkingFiles::TmpEHtml)); // the English page, written again only by a rebuild
        Seen seen;
        WatchDrill(form, &seen);
        if (drill == QLatin1String("W"))
            QTest::keyClick(&form, Qt::Key_W);
        else if (drill == QLatin1String("Alt+A"))
            QTest::keyClick(&form, Qt::Key_A, Qt::AltModifier);
        else if (drill == QLatin1String("rbShuffle"))
            form.ToRecite(drill);
        else
            QVERIFY(form.DispatchClick(drill));
        QCOMPARE(seen.window, window);
        QCOMPARE(seen.items, items);
        QCOMPARE(seen.playerVisible, playerVisible);
        QVERIFY(form.isVisible());
        QCOMPARE(QFileInfo::exists(WorkingFiles::TmpEHtml), rebuilt);
        QVERIFY(form.Controller().BookHandle() != -1);
        QCOMPARE(form.Controller().CurSentence(), current);
        QCOMPARE(form.Controller().ABRepeatStatus(), 0); // Alt+A is not A
        const int before = form.Controller().CurPos();
        form.Controller().btPlaySentence_click();
        QCOMPARE(form.Controller().PlayStatus(), int(Playing));
        QVERIFY(WaitFor([&] { return form.Controller().CurPos() > before + 100; }));
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(u'|')));
        form.close();
    }

    // A sentence corrected inside a drill comes back in the rebuilt pages.
    void correctedSentenceReloadsThePages_data()
    {
        QTest::addColumn<QString>("drill");
        QTest::addRow("speak") << "btSpeak";
        QTest::addRow("shuffled recitation") << "rbShuffle";
        QTest::addRow("browse") << "btBrowse";
    }
    void correctedSentenceReloadsThePages()
    {
        QFETCH(QString, drill);
        const QString book = fixtures::makeBook(QStringLiteral("corrected.dat"), {fixtures::sampleLesson()});
        PlayLessonForm form;
        form.OpenLesson(book, 0, true);
        form.show();
        form.Controller().SetCurSentence(2);
        Seen seen;
        WatchDrill(form, &seen, [](QWidget *w) {
            static_cast<DrillWindow *>(w)->Correct(2, QStringLiteral("It is a sign of a good year."), QStringLiteral("好兆头。"));
        });
        if (drill == QLatin1String("rbShuffle"))
            form.ToRecite(drill);
        else
            QVERIFY(form.DispatchClick(drill));
        QVERIFY(!seen.window.isEmpty());
        QCOMPARE(PageEnglish(form, 2), QStringLiteral("It is a sign of a good year."));
        QVERIFY(form.Controller().BookHandle() != -1);
        QCOMPARE(form.Controller().CurSentence(), 2);
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(u'|')));
        form.close();
    }

    // The summary dialog refuses neither kind and stays; otherwise the summary opens over the
    // hidden player, from the current sentence, and the player comes back with the same book
    // handle and pages.
    void summaryKeepsTheBookOpen()
    {
        PlayLessonForm form;
        form.OpenLesson(m_book, 0, true);
        form.show();
        form.Controller().SetCurSentence(1);
        const int handle = form.Controller().BookHandle();
        QVERIFY(QFile::remove(WorkingFiles::TmpEHtml));

        WordSummaryModeForm dialog(&form);
        dialog.Load();
        dialog.SetCallingForm(&form);
        dialog.show();
        QVERIFY(dialog.IsTicked(QStringLiteral("Keywords")) && dialog.IsTicked(QStringLiteral("Newwords")));
        dialog.SetTicked(QStringLiteral("Keywords"), false);
        dialog.SetTicked(QStringLiteral("Newwords"), false);
        dialog.btOk_click();
        QCOMPARE(m_messages, QStringList{WordSummaryModeForm::NeitherMessage()});
        QVERIFY(dialog.isVisible());
        dialog.SetTicked(QStringLiteral("Keywords"), true);
        Seen seen;
        WatchDrill(form, &seen);
        dialog.btOk_click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(seen.window, QStringLiteral("WordSummaryForm"));
        QCOMPARE(seen.items, 2); // Farmers, rain
        QVERIFY(!seen.playerVisible);
        QVERIFY(form.isVisible());
        QCOMPARE(form.Controller().BookHandle(), handle);
        QVERIFY(!QFileInfo::exists(WorkingFiles::TmpEHtml));
        QCOMPARE(form.Controller().CurSentence(), 1);

        // From the last sentence, which has no marked word, the learner is told how to mark them.
        form.Controller().SetCurSentence(3);
        form.WordSummary(true, true);
        QCOMPARE(m_messages.last(), PlayLessonForm::NoMarkedWordsMessage());
        QVERIFY(form.isVisible());
        QCOMPARE(form.Controller().BookHandle(), handle);
        form.close();
    }
};

QTEST_MAIN(TestPlayerDrills)
#include "test_player_drills.moc"
