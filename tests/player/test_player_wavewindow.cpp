// Ruler, zoom and scrolling maths of the waveform window.
#include "player/playback/WaveWindow.h"

#include <QtTest>

using namespace mvx;

class TestPlayerWaveWindow : public QObject
{
    Q_OBJECT

private slots:
    void rulerSteps_data()
    {
        QTest::addColumn<int>("px");
        QTest::addColumn<int>("ratio");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("lastLabel");
        QTest::addRow("15 s window: every second, 0..15") << 375 << 2 << 15000 << 1 << 15;
        QTest::addRow("25 s window: every two seconds, 0..12") << 625 << 2 << 25000 << 2 << 12;
        QTest::addRow("exactly 10 s") << 500 << 1 << 10000 << 1 << 10;
        QTest::addRow("4 s window keeps a one-second step") << 200 << 1 << 4000 << 1 << 4;
        QTest::addRow("tiny picture") << 1 << 1 << 20 << 1 << 0;
        QTest::addRow("long window capped at 40 labels") << 4000 << 8 << 640000 << 64 << 10;
    }
    void rulerSteps()
    {
        QFETCH(int, px);
        QFETCH(int, ratio);
        QFETCH(int, width);
        QFETCH(int, step);
        QFETCH(int, lastLabel);
        WaveWindow w;
        w.SetPictureWidth(px);
        w.SetRatio(ratio);
        w.CountWindowWidth(true);
        QCOMPARE(w.WindowWidth(), width);
        QCOMPARE(w.RulerStep(), step);
        QCOMPARE(w.RulerMarkCount(), lastLabel);
        w.SetWindowStartPos(0);
        QCOMPARE(w.RulerLabelTime(lastLabel), lastLabel * step * 1000);
        QVERIFY(w.RulerTickX(lastLabel) <= px);
    }

    void growingThePictureShowsMoreLabels()
    {
        WaveWindow w;
        w.SetPictureWidth(375);
        w.SetRatio(2);
        w.CountWindowWidth(true); // 15 s, a label every second
        QCOMPARE(w.RulerMarkCount(), 15);
        w.SetPictureWidth(1125); // maximised: 45 s of the same zoom, the step kept
        w.CountWindowWidth(false);
        QCOMPARE(w.RulerStep(), 1);
        QCOMPARE(w.RulerMarkCount(), 40); // capped
        w.SetPictureWidth(500);
        w.CountWindowWidth(false);
        QCOMPARE(w.RulerMarkCount(), 20);
        w.SetWindowStartPos(0);
        QVERIFY(w.RulerTickX(20) <= 500);
    }

    void rulerOrigin_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("origin");
        QTest::addColumn<QString>("label0");
        QTest::addRow("whole second") << 4000 << 4000 << "00:04";
        QTest::addRow("2500 rounds up to 3 s") << 2500 << 3000 << "00:03";
        QTest::addRow("one ms past a minute") << 60001 << 61000 << "01:01";
    }
    void rulerOrigin()
    {
        QFETCH(int, start);
        QFETCH(int, origin);
        QFETCH(QString, label0);
        WaveWindow w;
        w.SetPictureWidth(500);
        w.SetRatio(2);
        w.SetSndLength(120000);
        w.CountWindowWidth(true);
        w.SetWindowStartPos(start);
        QCOMPARE(w.RulerOrigin(), origin);
        QCOMPARE(w.RulerLabelText(0), label0);
        QCOMPARE(w.RulerTickX(0), w.XOf(origin));
        QCOMPARE(w.RulerTickX(1) - w.RulerTickX(0), qRound(w.RulerStep() * 1000.0 / w.WindowWidth() * 500));
        QCOMPARE(WaveWindow::FormatRulerTime(83450), QStringLiteral("01:23"));
    }

    void tapeHeadScrolls_data()
    {
        QTest::addColumn<int>("snd");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("pos");
        QTest::addColumn<int>("newStart");
        // Window 20000 ms (500 px at ratio 2).
        QTest::addRow("inside: no scroll") << 60000 << 0 << 15000 << 0;
        QTest::addRow("past the right edge: head centred") << 60000 << 0 << 20001 << 10001;
        QTest::addRow("past the right edge near the end: last window") << 30000 << 0 << 21000 << 10000;
        QTest::addRow("left of the window: a third from the left") << 60000 << 30000 << 25000 << 18333;
        QTest::addRow("left of the window near 0: start 0") << 60000 << 30000 << 5000 << 0;
    }
    void tapeHeadScrolls()
    {
        QFETCH(int, snd);
        QFETCH(int, start);
        QFETCH(int, pos);
        QFETCH(int, newStart);
        WaveWindow w;
        w.SetPictureWidth(500);
        w.SetRatio(2);
        w.SetSndLength(snd);
        w.CountWindowWidth(true);
        w.SetWindowStartPos(start);
        w.MoveTapeHead(pos);
        QCOMPARE(w.WindowStart(), newStart);
        QCOMPARE(w.TapeHeadX(), w.XOf(pos));
        QVERIFY(w.TapeHeadX() >= 0 && w.TapeHeadX() <= 500);
        QCOMPARE(w.ScrollValue(), newStart / 1000);
        // Moving within the same pixel reports no change.
        QVERIFY(!w.MoveTapeHead(pos + 1));
    }

    void zoomFit_data()
    {
        QTest::addColumn<int>("ratio");
        QTest::addColumn<int>("snd");
        QTest::addColumn<int>("fitted");
        QTest::addRow("short sound: 3 -> 2 -> 1") << 3 << 5000 << 1;
        QTest::addRow("half window: unchanged") << 3 << 18000 << 3;
        QTest::addRow("4 -> 2") << 4 << 12000 << 2;
        QTest::addRow("ratio 1 stays") << 1 << 100 << 1;
    }
    void zoomFit()
    {
        QFETCH(int, ratio);
        QFETCH(int, snd);
        QFETCH(int, fitted);
        WaveWindow w;
        w.SetPictureWidth(600);
        w.SetRatio(ratio);
        w.SetSndLength(snd);
        w.FitZoom();
        QCOMPARE(w.Ratio(), fitted);
        QCOMPARE(w.WindowWidth(), 600 * fitted * 20);
    }

    void scrollRangeAndMapping()
    {
        WaveWindow w;
        w.SetPictureWidth(375);
        w.SetRatio(2);
        w.SetSndLength(31400);
        w.CountWindowWidth(true);
        QCOMPARE(w.ScrollMaximum(), 16);
        QVERIFY(!w.ScrollVisible());
        w.SetScrollAllowed(true);
        QVERIFY(w.ScrollVisible());
        w.SetSndLength(15000);
        w.CountWindowWidth(false);
        QCOMPARE(w.ScrollMaximum(), 0);
        QVERIFY(!w.ScrollVisible());
        w.SetWindowStartPos(2000);
        for (int x : {0, 1, 100, 374})
            QCOMPARE(w.XOf(w.TimeAt(x)), x);
        QCOMPARE(w.TimeAt(0), 2000);
        QCOMPARE(w.XOf(2000 + 15000), 375);
    }
};

QTEST_GUILESS_MAIN(TestPlayerWaveWindow)
#include "test_player_wavewindow.moc"
