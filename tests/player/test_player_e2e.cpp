// End to end: a bundled lesson in the player with the real media back end (dummy driver)
// and the real pages. G plays it from sentence to sentence to its end, the highlight
// following in the English page.
#include "../support/BuiltHome.h"
#include "core/AppState.h"
#include "core/UserSettings.h"
#include "libs/sentra/SentraFacade.h"
#include "player/form/PlayLessonForm.h"
#include "player/playback/PlaybackController.h"
#include "ui/MessageBox.h"

#ifdef MVX_HAVE_PAGES
#include "player/pages/HtmlView.h"
#include "player/pages/LessonPages.h"
#endif

#include <QtTest>

using namespace mvx;

class TestPlayerE2e : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        testhome::UseBuiltHome();
        SetMessageBoxHandler([](const QString &text, int) {
            qWarning("message: %s", qPrintable(text));
            return -1;
        });
    }

    void playsABundledLessonToItsEnd()
    {
        const QString book = testhome::SmallestBundledBook();
        QVERIFY2(!book.isEmpty(), "the bundled lessons are built into the home's brxspecial folder");
        SaveUserInt(QString::fromLatin1(Key::Speed), 3); // "极速播放": the same path, a shorter run
        PlayLessonForm form;
        form.OpenLesson(book, 0, true);
        form.resize(1100, 760);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        PlaybackController &c = form.Controller();
        QCOMPARE(c.PlayStatus(), int(Stopped));
        const int first = c.HasTitleSentence();
        QList<int> visited{c.CurSentence()};
        connect(&c, &PlaybackController::viewChanged, this, [&] {
            if (c.CurSentence() != visited.last())
                visited << c.CurSentence();
        });
        int maxOvershoot = -1000000;
        connect(&c, &PlaybackController::tapeHeadMoved, this,
                [&] { maxOvershoot = std::max(maxOvershoot, c.CurPos() - c.SndLength()); });

        const QString shot = qEnvironmentVariable("MVX_PLAYER_SCREENSHOT");
        QTest::keyClick(&form, Qt::Key_G);
        QCOMPARE(c.PlayStatus(), int(Playing));
        if (!shot.isEmpty()) {
            QTest::qWait(2500);
            form.Snapshot().save(shot);
        }
        QVERIFY(QTest::qWaitFor([&] { return c.PlayStatus() == Stopped; }, 400000));
        QVERIFY(c.LessonFinished());
        QList<int> expected;
        for (int n = first; n < c.SentenceCount(); ++n)
            expected << n;
        QCOMPARE(visited, expected);
        QVERIFY(maxOvershoot <= 0);

#ifdef MVX_HAVE_PAGES
        // The last sentence carries the current-sentence colour in the English page, the
        // first one no longer does.
        auto *view = qobject_cast<pages::HtmlView *>(form.ScriptView());
        auto &pagesSide = static_cast<pages::LessonPages &>(form.Pages());
        const QString frame = pagesSide.FrameOf(SentenceText::English);
        const auto colourOf = [&](int n) {
            return view
                ->runAndWait(QStringLiteral("(function(){var f=window.frames['%1'];var e=f&&f.document.getElementById('ste%2');"
                                            "return e?f.getComputedStyle(e).color:'';})()")
                                 .arg(frame)
                                 .arg(n),
                             20000)
                .toString();
        };
        const QColor cur(pages::LessonPages::PageColour(App().display.curSentenceColor));
        const QString curText = QStringLiteral("rgb(%1, %2, %3)").arg(cur.red()).arg(cur.green()).arg(cur.blue());
        QCOMPARE(colourOf(c.SentenceCount() - 1), curText);
        QVERIFY(colourOf(first) != curText);
#endif
        // Play after the end starts again at the first playable sentence.
        QTest::keyClick(&form, Qt::Key_G);
        QCOMPARE(c.CurSentence(), first);
        QCOMPARE(c.PlayStatus(), int(Playing));
        QTest::keyClick(&form, Qt::Key_S);
        QCOMPARE(c.PlayStatus(), int(Stopped));
    }
};

QTEST_MAIN(TestPlayerE2e)
#include "test_player_e2e.moc"
