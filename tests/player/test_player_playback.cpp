// The playback logic driven by a virtual clock: status table, lesson end, repeats,
// automatic repeat and its gap, pause, speed, keys, waveform clicks and the waits.
#include "PlayerFakes.h"

#include "core/AppState.h"
#include "core/UserSettings.h"
#include "player/playback/PlaybackController.h"

#include <QDir>
#include <QtTest>
#include <memory>

using namespace mvx;
using namespace fakes;

namespace {

const QStringList kWatched = {"btPrev",  "btNext",  "btPlaySentence", "btPlay", "btAutoRepeat", "btABRepeatA",
                              "btABRepeatB", "btRepeatSentence", "btStop", "btPause", "btDigest", "btSpell",
                              "btStopThinking"};

struct Rig
{
    VirtualClock clock;
    FakeMedia media{clock};
    FakeSounds sounds{media, clock};
    FakePages pages;
    QString home;
    std::unique_ptr<PlaybackController> ctl;
    QStringList messages;
    QStringList features;
    int beeps = 0;
    int maxOvershoot = 0; // largest CurPos - SndLength seen after any tick

    explicit Rig(int count = 5, int title = 1)
    {
        home = qEnvironmentVariable("MVX_TEST_TMP") + QStringLiteral("/home");
        QDir(home).removeRecursively();
        QDir().mkpath(home);
        QFile blank(home + QStringLiteral("/blank.wav"));
        blank.open(QIODevice::WriteOnly);
        blank.write("RIFF");
        blank.close();
        media.durationMs.insert(home + QStringLiteral("/blank.wav"), 100);
        pages.result.sentenceCount = count;
        pages.result.hasTitleSentence = title;
        ctl = std::make_unique<PlaybackController>(media, pages, sounds, clock, home);
        QObject::connect(ctl.get(), &PlaybackController::message, [this](const QString &m) { messages << m; });
        QObject::connect(ctl.get(), &PlaybackController::beep, [this] { ++beeps; });
        QObject::connect(ctl.get(), &PlaybackController::featureRequested, [this](const QString &f) { features << f; });
        clock.afterTick = [this] { maxOvershoot = std::max(maxOvershoot, ctl->CurPos() - ctl->SndLength()); };
        ctl->InitForWindow();
    }
    void Open() { ctl->OpenLesson(QStringLiteral("book.dat"), 3, true); }
    // Sets the media length (ms) of sentence n of the lesson.
    void SetLength(int n, int ms) { sounds.lengthByNoInAll.insert(n + pages.result.lessonFirstSentence, ms); }
    [[nodiscard]] QString Enabled() const
    {
        QStringList on;
        for (const QString &b : kWatched)
            if (ctl->MyIsButtonEnabled(b))
                on << b;
        return on.join(QLatin1Char(' '));
    }
    bool RunUntil(const std::function<bool()> &pred, qint64 maxMs = 60000) { return clock.RunUntil(pred, maxMs); }
};

} // namespace

class TestPlayerPlayback : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        App().playback = PlaybackSettings{};
        App().playback.autoRepeatTimes = 2;
        App().playback.autoRepeatGapSetting = 0;
        App().playback.previewLen = 1;
        SaveUserInt(QString::fromLatin1(Key::Speed), 0);
        SaveUserInt(QString::fromLatin1(Key::WindowRatio), 2);
    }

    void statusTable_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("mask");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("enabled");
        QTest::addColumn<QString>("text");
        QTest::addRow("no lesson") << 1 << false << 0 << "" << "";
        QTest::addRow("stopped") << 2 << false << 1
                                 << "btPrev btNext btPlaySentence btPlay btAutoRepeat btRepeatSentence btDigest btSpell"
                                 << "静止状态";
        QTest::addRow("stopped while masking") << 2 << true << 1 << "btPrev btNext btRepeatSentence btDigest btStopThinking"
                                               << "静止状态";
        QTest::addRow("playing") << 1 << false << 2 << "btPrev btNext btABRepeatA btStop btPause"
                                 << "正在播放声音文件（正常播放状态）";
        QTest::addRow("repeating") << 1 << false << 3 << "btPrev btNext btStop btPause btDigest" << "正在自由复读";
        QTest::addRow("auto repeating") << 1 << false << 11 << "btPrev btNext btStop btPause" << "正在自动逐句复读";
        QTest::addRow("previewing") << 1 << false << 14 << "" << "正在进行声音预览";
    }
    void statusTable()
    {
        QFETCH(int, from);
        QFETCH(bool, mask);
        QFETCH(int, to);
        QFETCH(QString, enabled);
        QFETCH(QString, text);
        Rig r;
        r.Open();
        r.ctl->SetStatus(from);
        r.pages.show.maskActive = mask;
        r.ctl->SetStatus(to);
        QCOMPARE(r.Enabled(), enabled);
        QCOMPARE(r.ctl->StatusText(), text);
        QCOMPARE(r.ctl->PlayStatus(), to);
        QCOMPARE(r.ctl->Wave().SegStartShown(), to == Repeating);
        QCOMPARE(r.ctl->Wave().PictureEnabled(), to != NoLesson && to != Previewing);
        if (to == NoLesson) {
            QCOMPARE(r.ctl->CurPos(), 0);
            QVERIFY(r.ctl->TimeText().isEmpty());
            QVERIFY(r.ctl->Wave().RulerCleared());
        }
    }

    void openLessonCountsTitleLine_data()
    {
        QTest::addColumn<int>("title");
        QTest::addColumn<int>("first");
        QTest::addColumn<QString>("counter");
        QTest::addRow("with title line") << 1 << 1 << "共 4 句，当前是第 1 句";
        QTest::addRow("without title line") << 0 << 0 << "共 5 句，当前是第 1 句";
    }
    void openLessonCountsTitleLine()
    {
        QFETCH(int, title);
        QFETCH(int, first);
        QFETCH(QString, counter);
        Rig r(5, title);
        r.Open();
        QCOMPARE(r.ctl->PlayStatus(), int(Stopped));
        QCOMPARE(r.ctl->CurSentence(), first);
        QCOMPARE(r.ctl->LessonInfoText(), counter);
        QCOMPARE(r.sounds.made, QList<int>{100 + first});
        QCOMPARE(r.ctl->SndLength(), 2980);
        QVERIFY(r.pages.currentE.contains(first));
        QVERIFY(r.ctl->DigestReady());
        // Previous at the first playable sentence only beeps.
        r.ctl->btPrev_Click();
        QCOMPARE(r.beeps, 1);
        QCOMPARE(r.ctl->CurSentence(), first);
    }

    void playRunsToLessonEndAndRestarts()
    {
        Rig r(4, 1);
        r.SetLength(1, 2000);
        r.SetLength(2, 1500);
        r.SetLength(3, 2500);
        r.Open();
        QVERIFY(r.ctl->HandleKey(Qt::Key_G, false));
        QCOMPARE(r.ctl->PlayStatus(), int(Playing));
        QVERIFY(r.RunUntil([&] { return r.ctl->PlayStatus() == Stopped; }));
        QVERIFY(r.ctl->LessonFinished());
        QCOMPARE(r.ctl->CurSentence(), 3);
        QCOMPARE(r.sounds.made, (QList<int>{101, 102, 103}));
        QVERIFY(r.pages.currentE == QSet<int>{3});
        QVERIFY(r.media.openedMissing.isEmpty());
        QVERIFY2(r.maxOvershoot <= 0, "CurPos went past SndLength");
        // Play after the end restarts at the first playable sentence at 0.
        r.ctl->btPlay_Click();
        QCOMPARE(r.ctl->CurSentence(), 1);
        QCOMPARE(r.ctl->PlayStatus(), int(Playing));
        QVERIFY(!r.ctl->LessonFinished());
        QVERIFY(r.ctl->CurPos() < 50);
    }

    void endCaughtWithinOneTick()
    {
        Rig r(3, 0);
        r.Open();
        r.ctl->btPlay_Click();
        // The change to sentence 1 happens on the first tick past SndLength - 150.
        QVERIFY(r.RunUntil([&] { return r.sounds.made.size() == 2; }));
        const qint64 startedAt = r.sounds.madeAt[0];
        const int threshold = 2980 - PlaybackController::EndMarginMs;
        const qint64 late = r.sounds.madeAt[1] - (startedAt + threshold);
        QVERIFY2(late > 0 && late <= 60, qPrintable(QString::number(late)));
    }

    void playSentenceStopsAtItsEnd()
    {
        Rig r;
        r.Open();
        QVERIFY(r.ctl->HandleKey(Qt::Key_F, false));
        QCOMPARE(r.ctl->PlayStatus(), int(Playing));
        QVERIFY(!r.ctl->AutoNext());
        QVERIFY(r.RunUntil([&] { return r.ctl->PlayStatus() == Stopped; }));
        QCOMPARE(r.ctl->CurSentence(), 1);
        QCOMPARE(r.ctl->CurPos(), 0);
        QVERIFY(!r.ctl->LessonFinished());
        QCOMPARE(r.sounds.made.size(), 1);
    }

    void abRepeat_data()
    {
        QTest::addColumn<int>("aAt");     // ms played before A
        QTest::addColumn<int>("back");    // K presses between A and B
        QTest::addColumn<int>("bAfter");  // ms played after A (and the K presses) before B
        QTest::addColumn<int>("segment"); // expected segment length, about
        QTest::addRow("B after A") << 500 << 0 << 1000 << 1000;
        QTest::addRow("B at A") << 1000 << 0 << 0 << 100;
        QTest::addRow("B before A") << 2000 << 1 << 0 << 100;
    }
    void abRepeat()
    {
        QFETCH(int, aAt);
        QFETCH(int, back);
        QFETCH(int, bAfter);
        QFETCH(int, segment);
        Rig r;
        r.Open();
        r.ctl->btPlay_Click();
        r.clock.Advance(aAt);
        QVERIFY(r.ctl->HandleKey(Qt::Key_A, false));
        QCOMPARE(r.ctl->ABRepeatStatus(), 1);
        QVERIFY(r.ctl->MyIsButtonEnabled("btABRepeatB"));
        const int a = r.ctl->RepeatStart();
        for (int i = 0; i < back; ++i)
            r.ctl->HandleKey(Qt::Key_K, false);
        r.clock.Advance(bAfter);
        const int bPos = r.ctl->CurPos();
        QVERIFY(r.ctl->HandleKey(Qt::Key_B, false));
        QCOMPARE(r.ctl->PlayStatus(), int(Repeating));
        QCOMPARE(r.ctl->ABRepeatStatus(), 2);
        QCOMPARE(r.ctl->RepeatEnd(), bPos);
        QVERIFY(qAbs(r.ctl->RepeatEnd() - r.ctl->RepeatStart() - segment) <= 20);
        if (segment == 100)
            QCOMPARE(r.ctl->RepeatStart(), bPos - 100);
        else
            QCOMPARE(r.ctl->RepeatStart(), a);
        QVERIFY(r.ctl->RepeatStatusText().startsWith(QStringLiteral("复读起点 ")));
        // The segment loops: the position never leaves it for long.
        for (int i = 0; i < 300; ++i) {
            r.clock.Advance(10);
            QVERIFY(r.media.positionMs() >= r.ctl->RepeatStart() - 1);
            QVERIFY(r.media.positionMs() <= r.ctl->RepeatEnd() + 20);
        }
        QCOMPARE(r.ctl->CurSentence(), 1);
        // Stop leaves status 1 at the position reached.
        const int reached = r.ctl->CurPos();
        QVERIFY(r.ctl->HandleKey(Qt::Key_S, false));
        QCOMPARE(r.ctl->PlayStatus(), int(Stopped));
        QCOMPARE(r.ctl->ABRepeatStatus(), 0);
        QCOMPARE(r.ctl->CurPos(), reached);
        QVERIFY(r.ctl->RepeatStatusText().isEmpty());
    }

    void aAfterLessonEndRestartsFromTop()
    {
        Rig r(3, 1);
        r.Open();
        r.ctl->btPlay_Click();
        QVERIFY(r.RunUntil([&] { return r.ctl->LessonFinished(); }));
        // The A button is disabled in status 1; the operation itself restarts from the top.
        QVERIFY(!r.ctl->MyIsButtonEnabled("btABRepeatA"));
        r.ctl->btABRepeatA_click();
        QCOMPARE(r.ctl->CurSentence(), 1);
        QCOMPARE(r.ctl->PlayStatus(), int(Playing));
        QCOMPARE(r.ctl->RepeatStart(), 0);
        QCOMPARE(r.ctl->ABRepeatStatus(), 1);
    }

    void sentenceRepeatLoopsUntilStop()
    {
        Rig r;
        r.Open();
        QVERIFY(r.ctl->HandleKey(Qt::Key_R, false));
        QCOMPARE(r.ctl->PlayStatus(), int(Repeating));
        QCOMPARE(r.ctl->RepeatEnd(), r.ctl->SndLength());
        r.clock.Advance(9000); // three times round
        QCOMPARE(r.ctl->PlayStatus(), int(Repeating));
        QCOMPARE(r.ctl->CurSentence(), 1);
        QCOMPARE(r.sounds.made.size(), 1);
        QVERIFY(r.maxOvershoot <= 0);
    }

    void autoRepeatCountsAndGap_data()
    {
        QTest::addColumn<int>("times");
        QTest::addColumn<int>("gapSetting");
        QTest::addColumn<int>("length"); // sentence sound length (SndLength)
        QTest::addColumn<int>("gap");
        QTest::addRow("once, no gap") << 1 << 0 << 2000 << 50;
        QTest::addRow("three times, gap 1.5x of 4000 ms") << 3 << 2 << 4000 << 6000;
        QTest::addRow("twice, gap 3x") << 2 << 5 << 1000 << 3000;
    }
    void autoRepeatCountsAndGap()
    {
        QFETCH(int, times);
        QFETCH(int, gapSetting);
        QFETCH(int, length);
        QFETCH(int, gap);
        App().playback.autoRepeatTimes = times;
        App().playback.autoRepeatGapSetting = gapSetting;
        Rig r(4, 1);
        r.sounds.defaultLength = length + 20;
        r.Open();
        QCOMPARE(r.ctl->SndLength(), length);
        QCOMPARE(r.ctl->RepeatGap(), gapSetting == 0 ? 0 : gap);
        r.ctl->ClickButton("btAutoRepeat");
        QCOMPARE(r.ctl->PlayStatus(), int(AutoRepeating));
        int plays = 1;
        int lastPos = 0;
        while (!r.ctl->InRepeatGap()) {
            r.clock.Advance(10);
            if (r.media.positionMs() < lastPos - 500 && !r.ctl->InRepeatGap())
                ++plays;
            lastPos = int(r.media.positionMs());
            QVERIFY(r.clock.NowMs() < 60000);
        }
        QCOMPARE(plays, times);
        QCOMPARE(r.ctl->AutoRepeatCount(), times);
        QVERIFY(r.ctl->ReadHintVisible());
        QVERIFY(!r.ctl->MyIsButtonEnabled("btNext"));
        QVERIFY(!r.ctl->Wave().Enabled());
        const qint64 gapStart = r.clock.NowMs();
        QVERIFY(r.RunUntil([&] { return r.sounds.made.size() == 2; }));
        // The gap ends on the tick that reaches it; the next sound is cut once blank.wav
        // has been opened in its place.
        QCOMPARE(r.sounds.madeAt[1] - gapStart, qint64(gap + r.media.openDelayMs));
        QCOMPARE(r.ctl->CurSentence(), 2);
        QCOMPARE(r.ctl->PlayStatus(), int(AutoRepeating));
        QCOMPARE(r.ctl->AutoRepeatCount(), 0);
        QVERIFY(!r.ctl->InRepeatGap());
        QVERIFY(r.ctl->Wave().Enabled());
        // After the last sentence's gap the player stops.
        QVERIFY(r.RunUntil([&] { return r.ctl->PlayStatus() == Stopped; }));
        QCOMPARE(r.ctl->CurSentence(), 3);
        QCOMPARE(r.ctl->CurPos(), r.ctl->SndLength());
    }

    // "只听难句": next, previous and automatic repeat go through the chosen sentences only, and
    // every round is reported for the listening history.
    void hardSentencesOnly()
    {
        App().playback.autoRepeatTimes = 2;
        Rig r(6, 1);
        r.Open();
        QList<std::pair<int, bool>> heard;
        QObject::connect(r.ctl.get(), &PlaybackController::sentenceHeard,
                         [&heard](int noInAll, bool repeated) { heard.append({noInAll, repeated}); });
        r.ctl->SetSentenceFilter({4, 0, 2, 9, 2});
        QCOMPARE(r.ctl->SentenceFilter(), QList<int>({2, 4})); // sorted, title and strays dropped
        QCOMPARE(r.ctl->CurSentence(), 1);
        r.ctl->btNext_Click();
        QCOMPARE(r.ctl->CurSentence(), 2);
        r.ctl->btNext_Click();
        QCOMPARE(r.ctl->CurSentence(), 4);
        r.ctl->btNext_Click();
        QCOMPARE(r.beeps, 1);
        r.ctl->btPrev_Click();
        QCOMPARE(r.ctl->CurSentence(), 2);
        r.ctl->btPrev_Click();
        QCOMPARE(r.beeps, 2);
        QCOMPARE(r.ctl->CurSentence(), 2);

        r.ctl->btAutoRepeat_Click();
        QVERIFY(r.RunUntil([&] { return r.ctl->PlayStatus() == Stopped; }));
        QCOMPARE(r.ctl->CurSentence(), 4); // 3 was skipped, and after 4 the round ends
        const int first = r.ctl->LessonFirstSentence();
        QCOMPARE(heard, (QList<std::pair<int, bool>>{{first + 2, true}, {first + 2, true}, {first + 4, true},
                                                     {first + 4, true}}));

        r.ctl->SetSentenceFilter({});
        r.ctl->btPrev_Click();
        QCOMPARE(r.ctl->CurSentence(), 3);
    }

    void nextDuringAutoRepeatContinuesThere()
    {
        App().playback.autoRepeatTimes = 3;
        Rig r;
        r.Open();
        r.ctl->btAutoRepeat_Click();
        r.clock.Advance(3500); // second play under way
        QCOMPARE(r.ctl->AutoRepeatCount(), 1);
        QVERIFY(r.ctl->HandleKey(Qt::Key_J, false));
        QCOMPARE(r.ctl->CurSentence(), 2);
        QCOMPARE(r.ctl->PlayStatus(), int(AutoRepeating));
        QCOMPARE(r.ctl->AutoRepeatCount(), 0);
        QVERIFY(r.media.playing);
    }

    // A timing nudge during an automatic repeat cuts the sentence again at once and the round
    // goes on over the new sound, the repeat gap following its length; on a book that cannot
    // be changed the learner is told and nothing is cut again.
    void nudgeDuringAutoRepeatGoesOn()
    {
        App().playback.autoRepeatTimes = 3;
        App().playback.autoRepeatGapSetting = 1; // a gap as long as the sound
        Rig r;
        r.sounds.timesWritable = true;
        r.Open();
        r.ctl->btAutoRepeat_Click();
        r.clock.Advance(1000);
        const int sentence = r.ctl->GetSentenceNoInAll(r.ctl->CurSentence());
        QCOMPARE(r.sounds.made.size(), 1);
        const int before = int(r.media.positionMs());
        QVERIFY(before > 500);
        QVERIFY(r.ctl->HandleTimingKey(Qt::Key_BraceRight, Qt::ShiftModifier)); // end 50 ms later
        QVERIFY(r.ctl->HandleTimingKey(Qt::Key_BracketRight, Qt::ControlModifier)); // start 10 ms later
        QCOMPARE(r.sounds.made, QList<int>({sentence, sentence, sentence}));
        QCOMPARE(r.ctl->PlayStatus(), int(AutoRepeating));
        QCOMPARE(r.ctl->SndLength(), 3000 + 50 - 10 - 20);
        QCOMPARE(r.ctl->RepeatEnd(), r.ctl->SndLength());
        QCOMPARE(r.ctl->RepeatGap(), r.ctl->SndLength());
        QVERIFY(r.media.playing);
        // The position stays on the same moment of the lesson: 10 ms earlier in the new cut.
        QVERIFY2(qAbs(r.ctl->CurPos() - (before - 10)) <= 2, qPrintable(QString::number(r.ctl->CurPos())));
        QCOMPARE(r.ctl->AutoRepeatCount(), 0);
        int furthest = 0; // the round runs past the old end before it counts
        while (r.ctl->AutoRepeatCount() == 0 && r.clock.NowMs() < 60000) {
            furthest = std::max(furthest, r.ctl->CurPos());
            r.clock.Advance(10);
        }
        QCOMPARE(r.ctl->AutoRepeatCount(), 1);
        QVERIFY2(furthest > 2990, qPrintable(QString::number(furthest)));
        QCOMPARE(r.ctl->UndoableNudges(), 2);
        QVERIFY(r.ctl->HandleTimingKey(Qt::Key_Z, Qt::ControlModifier));
        QCOMPARE(r.sounds.heard.value(sentence), std::make_pair(0, 3050));
        QCOMPARE(r.ctl->PlayStatus(), int(AutoRepeating));
        QVERIFY(r.messages.isEmpty());

        Rig ro;
        ro.Open();
        ro.ctl->btAutoRepeat_Click();
        ro.clock.Advance(500);
        QVERIFY(ro.ctl->HandleTimingKey(Qt::Key_BracketLeft, {}));
        QCOMPARE(ro.messages, QStringList{QStringLiteral("这本句子库只能读，不能修改：句子的时间没有改变。")});
        QCOMPARE(ro.sounds.made.size(), 1);
        QCOMPARE(ro.ctl->PlayStatus(), int(AutoRepeating));
        QCOMPARE(ro.ctl->UndoableNudges(), 0);
        QVERIFY(!ro.ctl->HandleTimingKey(Qt::Key_Z, {})); // a plain Z is not a timing key
    }

    void pauseRestoresStatusTextAndButtons_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addRow("playing") << "btPlay";
        QTest::addRow("repeating") << "btRepeatSentence";
        QTest::addRow("auto repeating") << "btAutoRepeat";
    }
    void pauseRestoresStatusTextAndButtons()
    {
        QFETCH(QString, start);
        Rig r;
        r.Open();
        QVERIFY(r.ctl->ClickButton(start));
        r.clock.Advance(700);
        const QString text = r.ctl->StatusText();
        const QString buttons = r.Enabled();
        const int status = r.ctl->PlayStatus();
        QVERIFY(r.ctl->HandleKey(Qt::Key_D, false));
        QVERIFY(r.ctl->Paused());
        QCOMPARE(r.ctl->StatusText(), QStringLiteral("已暂停，只能再按暂停按钮继续"));
        QCOMPARE(r.Enabled(), QStringLiteral("btPause"));
        QVERIFY(!r.ctl->Wave().Enabled());
        const int pos = r.ctl->CurPos();
        r.clock.Advance(2000);
        QCOMPARE(r.ctl->CurPos(), pos);
        QCOMPARE(r.ctl->PlayStatus(), status);
        // Keys of disabled buttons do nothing while paused.
        r.ctl->HandleKey(Qt::Key_S, false);
        r.ctl->HandleKey(Qt::Key_J, false);
        QCOMPARE(r.ctl->PlayStatus(), status);
        QCOMPARE(r.ctl->CurSentence(), 1);
        QVERIFY(r.ctl->HandleKey(Qt::Key_Pause, false));
        QVERIFY(!r.ctl->Paused());
        QCOMPARE(r.ctl->StatusText(), text);
        QCOMPARE(r.Enabled(), buttons);
        r.clock.Advance(100);
        QVERIFY(r.ctl->CurPos() > pos);
    }

    void pauseHoldsTheRepeatGap()
    {
        App().playback.autoRepeatTimes = 1;
        App().playback.autoRepeatGapSetting = 1;
        Rig r;
        r.Open();
        r.ctl->btAutoRepeat_Click();
        QVERIFY(r.RunUntil([&] { return r.ctl->InRepeatGap(); }));
        r.clock.Advance(1000);
        r.ctl->btPause_Click();
        QVERIFY(!r.ctl->MyIsButtonEnabled("btStop"));
        const int elapsed = r.ctl->GapElapsed();
        r.clock.Advance(10000);
        QCOMPARE(r.ctl->GapElapsed(), elapsed);
        QCOMPARE(r.ctl->CurSentence(), 1);
        r.ctl->btPause_Click();
        QVERIFY(r.ctl->MyIsButtonEnabled("btStop"));
        QVERIFY(r.RunUntil([&] { return r.ctl->CurSentence() == 2; }, 3000));
    }

    void speedCodes_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("entry");
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("storedAfter");
        QTest::addRow("slow") << 1 << 0 << 0.8 << 1;
        QTest::addRow("normal") << 0 << 1 << 1.0 << 0;
        QTest::addRow("fast") << 2 << 2 << 1.2 << 2;
        QTest::addRow("fastest") << 3 << 3 << 1.4 << 3;
        QTest::addRow("unknown code 7") << 7 << 1 << 1.0 << 0;
    }
    void speedCodes()
    {
        QFETCH(int, stored);
        QFETCH(int, entry);
        QFETCH(double, rate);
        QFETCH(int, storedAfter);
        SaveUserInt(QString::fromLatin1(Key::Speed), stored);
        Rig r;
        QCOMPARE(r.ctl->SpeedEntry(), entry);
        QCOMPARE(r.media.rate(), rate);
        QCOMPARE(GetUserInt(QString::fromLatin1(Key::Speed), -1), storedAfter);
        // Choosing "慢速播放" stores 1 and plays at 0.8.
        r.ctl->cbSpeed_Click(0);
        QCOMPARE(GetUserInt(QString::fromLatin1(Key::Speed), -1), 1);
        QCOMPARE(r.media.rate(), 0.8);
    }

    void keysDoNothingWhileTheirButtonIsDisabled_data()
    {
        QTest::addColumn<QString>("start"); // "" = no lesson, else a button clicked after opening
        QTest::addColumn<int>("key");
        QTest::addRow("G without lesson") << "" << int(Qt::Key_G);
        QTest::addRow("R while playing") << "btPlay" << int(Qt::Key_R);
        QTest::addRow("F while playing") << "btPlay" << int(Qt::Key_F);
        QTest::addRow("S while stopped") << "-" << int(Qt::Key_S);
        QTest::addRow("B while stopped") << "-" << int(Qt::Key_B);
        QTest::addRow("G while repeating") << "btRepeatSentence" << int(Qt::Key_G);
        QTest::addRow("A while auto repeating") << "btAutoRepeat" << int(Qt::Key_A);
    }
    void keysDoNothingWhileTheirButtonIsDisabled()
    {
        QFETCH(QString, start);
        QFETCH(int, key);
        Rig r;
        if (!start.isEmpty())
            r.Open();
        if (start.startsWith(QLatin1String("bt")))
            QVERIFY(r.ctl->ClickButton(start));
        r.clock.Advance(300);
        const int status = r.ctl->PlayStatus();
        const int repeatStart = r.ctl->RepeatStart();
        const int made = r.sounds.made.size();
        QVERIFY(r.ctl->HandleKey(key, false));
        QCOMPARE(r.ctl->PlayStatus(), status);
        QCOMPARE(r.ctl->RepeatStart(), repeatStart);
        QCOMPARE(r.sounds.made.size(), made);
        QCOMPARE(r.ctl->ABRepeatStatus(), 0);
    }

    void altKeysAskForTheirFeature()
    {
        Rig r;
        r.Open();
        r.ctl->HandleKey(Qt::Key_S, true);
        r.ctl->HandleKey(Qt::Key_A, true);
        r.ctl->HandleKey(Qt::Key_W, false);
        QCOMPARE(r.features, (QStringList{"btSpell", "btSpeak", "btSpeak"}));
        QCOMPARE(r.ctl->ABRepeatStatus(), 0);
        QCOMPARE(r.ctl->PlayStatus(), int(Stopped));
        QVERIFY(!r.ctl->HandleKey(Qt::Key_PageDown, false));
    }

    void nextAtLastSentenceBeeps()
    {
        Rig r(3, 0);
        r.Open();
        r.ctl->HandleKey(Qt::Key_J, false);
        r.ctl->HandleKey(Qt::Key_J, false);
        QCOMPARE(r.ctl->CurSentence(), 2);
        QCOMPARE(r.beeps, 0);
        QVERIFY(r.ctl->HandleKey(Qt::Key_J, false));
        QCOMPARE(r.beeps, 1);
        QCOMPARE(r.ctl->CurSentence(), 2);
        QCOMPARE(r.ctl->LessonInfoText(), QStringLiteral("共 3 句，当前是第 3 句"));
    }

    void movingInsideTheSentence_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("to");
        QTest::addRow("forward") << 500 << int(Qt::Key_L) << 1500;
        QTest::addRow("forward with less than 2 s left does nothing") << 1000 << int(Qt::Key_L) << 1000;
        QTest::addRow("backward stops at 0") << 400 << int(Qt::Key_K) << 0;
        QTest::addRow("home") << 2000 << int(Qt::Key_Home) << 0;
    }
    void movingInsideTheSentence()
    {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, to);
        Rig r;
        r.Open(); // SndLength 2980
        r.ctl->SetCurrentPos(from);
        r.ctl->HandleKey(key, false);
        QCOMPARE(r.ctl->CurPos(), to);
        QCOMPARE(qRound(r.media.positionMs()), to);
        if (to != from)
            QCOMPARE(r.ctl->Wave().TapeHeadMs(), to);
        QVERIFY(!r.media.playing);
    }

    void waveClicks()
    {
        Rig r;
        r.Open();
        const WaveWindow &w = r.ctl->Wave();
        // Right click in status 1 before CurPos repeats from there up to CurPos.
        r.ctl->SetCurrentPos(2000);
        r.ctl->WaveMouseDown(w.XOf(800), false, false);
        QCOMPARE(r.ctl->PlayStatus(), int(Repeating));
        QVERIFY(qAbs(r.ctl->RepeatStart() - 800) <= w.Ratio() * 20);
        QCOMPARE(r.ctl->RepeatEnd(), 2000);
        // Ctrl + left click after the segment's end beeps and keeps the segment.
        const int start = r.ctl->RepeatStart();
        r.ctl->WaveMouseDown(w.XOf(2500), true, true);
        QCOMPARE(r.beeps, 1);
        QCOMPARE(r.ctl->RepeatStart(), start);
        QCOMPARE(r.ctl->RepeatEnd(), 2000);
        // Ctrl + right click after the start gives a new end.
        r.ctl->WaveMouseDown(w.XOf(2600), false, true);
        QVERIFY(qAbs(r.ctl->RepeatEnd() - 2600) <= w.Ratio() * 20);
        r.ctl->btStop_Click();
        QCOMPARE(r.ctl->PlayStatus(), int(Stopped));
        // A click past the end of the sound beeps.
        r.ctl->WaveMouseDown(w.XOf(r.ctl->SndLength() + 200), true, false);
        QCOMPARE(r.beeps, 2);
        // Right click in auto repeat is refused with a message.
        r.ctl->btAutoRepeat_Click();
        r.ctl->WaveMouseDown(w.XOf(500), false, false);
        QCOMPARE(r.messages, QStringList{QStringLiteral("逐句复读时不能只复读句子某一部分")});
        QCOMPARE(r.ctl->PlayStatus(), int(AutoRepeating));
    }

    void previewNearTheEnd()
    {
        Rig r;
        r.Open();
        const WaveWindow &w = r.ctl->Wave();
        const int snd = r.ctl->SndLength();
        r.ctl->WaveMouseDown(w.XOf(snd - 500), true, false);
        const int at = r.ctl->CurPos();
        r.ctl->WaveDoubleClick();
        QCOMPARE(r.ctl->PlayStatus(), int(Previewing));
        QCOMPARE(r.ctl->PreviewStart(), at);
        QCOMPARE(r.ctl->PreviewEnd(), snd - 2);
        QVERIFY(!w.PictureEnabled());
        const int head = w.TapeHeadMs();
        r.clock.Advance(200);
        QCOMPARE(w.TapeHeadMs(), head); // the head stays during a preview
        QVERIFY(r.RunUntil([&] { return r.ctl->PlayStatus() == Stopped; }, 2000));
        QCOMPARE(r.ctl->CurPos(), at);
        QVERIFY(w.PictureEnabled());
        QVERIFY(r.ctl->MyIsButtonEnabled("btPlay"));
    }

    void zoomFitsShortSentenceAndIsStored()
    {
        SaveUserInt(QString::fromLatin1(Key::WindowRatio), 3);
        Rig r;
        r.ctl->SetWavePictureWidth(600); // ratio 3: 36 s window
        r.sounds.defaultLength = 5020;   // 5 s sound
        r.Open();
        QCOMPARE(r.ctl->Wave().Ratio(), 1); // 3 -> 2 -> 1
        QCOMPARE(r.ctl->Wave().WindowWidth(), 12000);
        QVERIFY(r.ctl->Wave().RulerStep() >= 1);
        r.ctl->CloseForWindow();
        QCOMPARE(GetUserInt(QString::fromLatin1(Key::WindowRatio), -1), 1);
        QCOMPARE(r.ctl->PlayStatus(), int(NoLesson));
        QCOMPARE(r.pages.closes, 1);
        QCOMPARE(r.sounds.digestsOpen, 0);
        QVERIFY(!QFileInfo::exists(r.sounds.files.last()));
    }

    void mediaThatNeverOpensTimesOut()
    {
        Rig r;
        r.sounds.unopenable.insert(102); // sentence 2's file never opens
        r.Open();
        r.ctl->btPlay_Click();
        QVERIFY(r.RunUntil([&] { return !r.messages.isEmpty(); }));
        QVERIFY(r.clock.NowMs() >= 2980 - 150 + PlaybackController::MediaTimeoutMs);
        QCOMPARE(r.ctl->PlayStatus(), int(Stopped));
        QCOMPARE(r.ctl->CurSentence(), 2);
        QCOMPARE(r.ctl->SndLength(), 0);
        QVERIFY(r.messages.last().contains(QStringLiteral("声音文件打不开")));
        QVERIFY(!r.clock.IsTimerOn(PlayerTimer::MediaReady));
        // Still usable: Next opens the following sentence and Play plays it.
        r.ctl->btNext_Click();
        QCOMPARE(r.ctl->CurSentence(), 3);
        QCOMPARE(r.ctl->SndLength(), 2980);
        r.ctl->btPlay_Click();
        r.clock.Advance(500);
        QVERIFY(r.ctl->CurPos() > 300);
    }

    void lessonThatCannotLoadStaysInStatusZero()
    {
        Rig r;
        r.pages.loadResult = -1;
        r.Open();
        QCOMPARE(r.ctl->PlayStatus(), int(NoLesson));
        QCOMPARE(r.messages.size(), 1);
        QVERIFY(r.sounds.made.isEmpty());
        QCOMPARE(r.ctl->CurSentence(), -1);
        r.ctl->HandleKey(Qt::Key_G, false);
        QCOMPARE(r.ctl->PlayStatus(), int(NoLesson));
    }

    void nothingReentersWhileASoundOpens()
    {
        Rig r;
        r.Open();
        r.media.openDelayMs = 60;
        int entered = 0;
        // While the next sentence's sound opens: clicks, keys, page calls and timer ticks.
        r.clock.Post([&] {
            ++entered;
            r.ctl->btNext_Click();
            r.ctl->HandleKey(Qt::Key_J, false);
            r.ctl->SetCurSentence(4);
            r.ctl->btStop_Click();
            r.ctl->btPlay_Click();
            r.ctl->WaveMouseDown(10, false, false);
            r.ctl->OpenLesson(QStringLiteral("other.dat"), 1, true);
        });
        r.ctl->btNext_Click();
        QCOMPARE(entered, 1);
        QVERIFY(r.ctl->IsBusy() == false);
        QCOMPARE(r.ctl->CurSentence(), 2);
        QCOMPARE(r.ctl->PlayStatus(), int(Stopped));
        QCOMPARE(r.sounds.made, (QList<int>{101, 102}));
        QCOMPARE(r.pages.loads.size(), 1);
        QVERIFY(r.media.openedMissing.isEmpty());
        QCOMPARE(r.media.path(), r.sounds.files.last());

        // The same while playing: position ticks run in the wait and must not end the sentence again.
        r.ctl->btPlay_Click();
        QVERIFY(r.RunUntil([&] { return r.sounds.made.size() == 4; }));
        QCOMPARE(r.sounds.made, (QList<int>{101, 102, 103, 104}));
        QVERIFY(r.media.openedMissing.isEmpty());
    }

    void aKeyDuringASentenceChangeActsOnceAfterIt()
    {
        Rig r;
        r.Open();
        const int start = r.ctl->CurSentence();
        // J again while J's sentence change waits for the sound: held, then acted on once.
        r.clock.Post([&] { r.ctl->HandleKey(Qt::Key_J, false); });
        QVERIFY(r.ctl->HandleKey(Qt::Key_J, false));
        QCOMPARE(r.ctl->CurSentence(), start + 1); // not inside the change
        r.clock.Advance(10);
        QCOMPARE(r.ctl->CurSentence(), start + 2);
        r.clock.Advance(200);
        QCOMPARE(r.ctl->CurSentence(), start + 2);
        QCOMPARE(r.sounds.made.size(), 3);
    }

    void theTextSidesWaitsHoldTheTimers()
    {
        Rig r;
        r.Open();
        r.ctl->btPlay_Click();
        const int at = r.ctl->CurSentence();
        {
            // A page query of the text side runs long past the sentence's end.
            const PlayerOperations::BusyScope busy(r.ctl.get());
            QVERIFY(r.ctl->IsBusy());
            r.clock.Advance(5000);
            QCOMPARE(r.ctl->CurSentence(), at);
        }
        QVERIFY(!r.ctl->IsBusy());
        QVERIFY(r.RunUntil([&] { return r.ctl->CurSentence() == at + 1; }, 1000));
    }

    void noSoundBeforeThePlayerAsks()
    {
        Rig r;
        r.Open();
        r.ctl->btNext_Click(); // H and J while stopped open sounds but play none
        r.ctl->btNext_Click();
        r.ctl->btPrev_Click();
        r.clock.Advance(100);
        QCOMPARE(r.media.starts, 0);
        r.ctl->btPlay_Click();
        QCOMPARE(r.media.starts, 1);
    }

    void aSentenceChangeEndsAPreview_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addRow("go to a sentence") << "go";
        QTest::addRow("set the sentence (notebook's source)") << "set";
        QTest::addRow("reload the lesson") << "reload";
    }
    void aSentenceChangeEndsAPreview()
    {
        QFETCH(QString, how);
        Rig r;
        r.Open();
        r.ctl->WaveDoubleClick();
        QCOMPARE(r.ctl->PlayStatus(), int(Previewing));
        QVERIFY(!r.ctl->Wave().ScrollEnabled());
        if (how == "go")
            r.ctl->GoToSentence(3);
        else if (how == "set")
            r.ctl->SetCurSentence(3);
        else
            r.ctl->OpenLesson(QString(), -1, false);
        QCOMPARE(r.ctl->PlayStatus(), int(Stopped));
        QCOMPARE(r.ctl->CurSentence(), how == "reload" ? 1 : 3);
        QVERIFY(!r.clock.IsTimerOn(PlayerTimer::Position));
        QVERIFY(r.ctl->Wave().ScrollEnabled());
        QVERIFY(r.ctl->Wave().PictureEnabled());
        QVERIFY(r.ctl->MyIsButtonEnabled("btPlay"));
        QVERIFY(r.ctl->MyIsButtonEnabled("btSpell"));
        r.ctl->btPlay_Click(); // usable: plays on
        r.clock.Advance(300);
        QVERIFY(r.ctl->CurPos() > 100);
    }
};

QTEST_GUILESS_MAIN(TestPlayerPlayback)
#include "test_player_playback.moc"
