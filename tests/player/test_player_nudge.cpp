// Timing nudges in the player window with a real book, the real media back end and the real
// pages: the keys move the current sentence's edges, the sound is cut again at once and the
// waveform redrawn, a repeat goes on with the new bounds, Shift + drag on the waveform moves
// an edge while Ctrl + click keeps moving the repeat start, and undo, restore and reopening.
#include "../support/BuiltHome.h"
#include "../sentra/SentraFixtures.h"

#include "core/AppState.h"
#include "core/Helpers.h"
#include "core/UserSettings.h"
#include "libs/sentra/SentraFacade.h"
#include "player/form/PlayLessonForm.h"
#include "player/form/WaveView.h"
#include "player/playback/PlaybackController.h"
#include "ui/MessageBox.h"

#include <QLabel>
#include <QtTest>

using namespace mvx;

namespace {

// The heard start and end of sentence n (in the lesson) of the player's open book.
QPair<int, int> HeardTimes(const PlaybackController &c, int n)
{
    int start = -1, end = -1;
    bcSentence_GetTimes(c.BookHandle(), c.GetSentenceNoInAll(n), nullptr, nullptr, &start, &end);
    return {start, end};
}

bool WaitFor(const std::function<bool()> &pred, int ms = 10000)
{
    return QTest::qWaitFor(pred, ms);
}

} // namespace

class TestPlayerNudge : public QObject
{
    Q_OBJECT

    QString m_book;
    QStringList m_messages;

    void Open(PlayLessonForm &form)
    {
        form.OpenLesson(m_book, 0, true);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.Controller().CurSentence(), 1); // 1200 to 3000 ms of the lesson
    }

private slots:
    void initTestCase()
    {
        testhome::UseBuiltHome();
        SetMessageBoxHandler([this](const QString &text, int) {
            m_messages << text;
            return -1;
        });
    }
    void init()
    {
        m_messages.clear();
        m_book = fixtures::makeBook(QStringLiteral("nudge.dat"), {fixtures::sampleLesson()});
        SaveUserInt(QString::fromLatin1(Key::WindowRatio), 2);
        SaveUserBool(QString::fromLatin1(Key::AutoMaximize), false);
    }

    // Each key moves one edge; the new sound is there at once (its length follows) and the
    // waveform is drawn again; the player stays stopped.
    void keysMoveTheEdges_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addRow("[ start 50 ms earlier") << int(Qt::Key_BracketLeft) << 0 << 1150 << 3000;
        QTest::addRow("] start 50 ms later") << int(Qt::Key_BracketRight) << 0 << 1250 << 3000;
        QTest::addRow("Shift+] end 50 ms later") << int(Qt::Key_BraceRight) << int(Qt::ShiftModifier) << 1200 << 3050;
        QTest::addRow("Shift+[ end 50 ms earlier") << int(Qt::Key_BraceLeft) << int(Qt::ShiftModifier) << 1200 << 2950;
        QTest::addRow("Ctrl+[ start 10 ms earlier") << int(Qt::Key_BracketLeft) << int(Qt::ControlModifier) << 1190
                                                    << 3000;
        QTest::addRow("Ctrl+Shift+] end 10 ms later")
            << int(Qt::Key_BraceRight) << int(Qt::ControlModifier | Qt::ShiftModifier) << 1200 << 3010;
    }
    void keysMoveTheEdges()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, start);
        QFETCH(int, end);
        PlayLessonForm form;
        Open(form);
        PlaybackController &c = form.Controller();
        const int length = c.SndLength();
        QTest::qWait(50);
        const int redraws = form.WaveGraph()->WaveRedraws();
        QTest::keyClick(&form, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(HeardTimes(c, 1), qMakePair(start, end));
        QCOMPARE(HeardTimes(c, 2), qMakePair(3000, 4500)); // the neighbour keeps its times
        QVERIFY2(qAbs(c.SndLength() - (length + (end - start) - 1800)) <= 1,
                 qPrintable(QStringLiteral("%1 ms after %2 ms").arg(c.SndLength()).arg(length)));
        QCOMPARE(c.PlayStatus(), int(Stopped));
        QVERIFY(WaitFor([&] { return form.WaveGraph()->WaveRedraws() > redraws; }, 3000));
        QVERIFY(m_messages.isEmpty());
    }

    // A repeat of the whole sentence goes on over the new, longer sound.
    void aRepeatGoesOnWithTheNewBounds()
    {
        PlayLessonForm form;
        Open(form);
        PlaybackController &c = form.Controller();
        QTest::keyClick(&form, Qt::Key_R);
        QCOMPARE(c.PlayStatus(), int(Repeating));
        QVERIFY(WaitFor([&] { return c.CurPos() > 300; }));
        const int length = c.SndLength();
        QTest::keyClick(&form, Qt::Key_BraceRight, Qt::ShiftModifier);
        QTest::keyClick(&form, Qt::Key_BraceRight, Qt::ShiftModifier);
        QCOMPARE(HeardTimes(c, 1), qMakePair(1200, 3100));
        QCOMPARE(c.PlayStatus(), int(Repeating));
        QVERIFY(qAbs(c.SndLength() - (length + 100)) <= 1);
        QCOMPARE(c.RepeatStart(), 0);
        QCOMPARE(c.RepeatEnd(), c.SndLength());
        QVERIFY(c.RepeatStatusText().endsWith(FormatPlayTime(c.SndLength())));
        // Still sounding: the position moves on and loops back inside the new bounds.
        const int at = c.CurPos();
        QVERIFY(WaitFor([&] { return c.CurPos() != at; }));
        QVERIFY(c.CurPos() <= c.SndLength());
        QTest::keyClick(&form, Qt::Key_S);
        QCOMPARE(c.PlayStatus(), int(Stopped));
    }

    // Shift + drag moves the nearer edge by the dragged time; Ctrl + click in a repeat still
    // moves the repeat start and leaves the book's times alone.
    void dragMovesAnEdgeAndCtrlClickKeepsItsMeaning()
    {
        PlayLessonForm form;
        Open(form);
        PlaybackController &c = form.Controller();
        WaveView *wave = form.WaveGraph();
        const WaveWindow &w = c.Wave();
        const int y = WaveView::RulerHeight + 10;
        const int from = w.XOf(c.SndLength() / 5);
        const int to = from - 20;
        const int moved = w.TimeAt(to) - w.TimeAt(from);
        QVERIFY(moved < 0);
        QTest::mousePress(wave, Qt::LeftButton, Qt::ShiftModifier, QPoint(from, y));
        QVERIFY(wave->Dragging());
        QVERIFY(!wave->DraggingEnd()); // pressed in the first half: the start
        QTest::mouseMove(wave, QPoint(to, y));
        QTest::mouseRelease(wave, Qt::LeftButton, Qt::ShiftModifier, QPoint(to, y));
        QVERIFY(!wave->Dragging());
        QCOMPARE(HeardTimes(c, 1), qMakePair(1200 + moved, 3000));

        QTest::keyClick(&form, Qt::Key_R);
        QCOMPARE(c.PlayStatus(), int(Repeating));
        const int x = w.XOf(c.SndLength() / 2);
        QTest::mouseClick(wave, Qt::LeftButton, Qt::ControlModifier, QPoint(x, y));
        QCOMPARE(c.RepeatStart(), w.TimeAt(x));
        QCOMPARE(HeardTimes(c, 1), qMakePair(1200 + moved, 3000));
        QTest::keyClick(&form, Qt::Key_S);
    }

    // Ctrl+Z undoes the last changes, also of a sentence left since; "\" restores the maker's
    // times; the nudges are in the book when the lesson is opened again.
    void undoRestoreAndReopen()
    {
        {
            PlayLessonForm form;
            Open(form);
            PlaybackController &c = form.Controller();
            QTest::keyClick(&form, Qt::Key_BracketLeft);
            QTest::keyClick(&form, Qt::Key_BracketLeft);
            QTest::keyClick(&form, Qt::Key_J);
            QVERIFY(WaitFor([&] { return c.CurSentence() == 2; }));
            const int length = c.SndLength();
            QTest::keyClick(&form, Qt::Key_BracketRight);
            QCOMPARE(HeardTimes(c, 2), qMakePair(3050, 4500));
            QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(HeardTimes(c, 2), qMakePair(3000, 4500));
            QCOMPARE(c.SndLength(), length); // the current sentence was cut again
            QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(HeardTimes(c, 1), qMakePair(1150, 3000));
            QCOMPARE(c.UndoableNudges(), 1);
            form.close();
        }
        PlayLessonForm form;
        Open(form);
        PlaybackController &c = form.Controller();
        QCOMPARE(HeardTimes(c, 1), qMakePair(1150, 3000));
        QCOMPARE(c.UndoableNudges(), 0);
        const int length = c.SndLength();
        QTest::keyClick(&form, Qt::Key_Backslash);
        QCOMPARE(HeardTimes(c, 1), qMakePair(1200, 3000));
        QVERIFY(qAbs(c.SndLength() - (length - 50)) <= 1);
        QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(HeardTimes(c, 1), qMakePair(1150, 3000));
    }
};

QTEST_MAIN(TestPlayerNudge)
#include "test_player_nudge.moc"
