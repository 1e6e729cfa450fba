// The position clock: what the learner hears at a moment, driven by virtual time.
#include "libs/media/PlaybackClock.h"

#include <QTest>

using mvx::PlaybackClock;

class TestMediaClock : public QObject
{
    Q_OBJECT
private slots:
    void position_data();
    void position();
    void rateChangeIsContinuous();
    void reachesEndOnlyWhenAllHandedOver();
    void freezeKeepsPosition();
};

// Each row: a run starting at `start` heard from t = 1.0 at `rate`, sound handed over up to
// `delivered`, slack `slack`; the position read at time `t`.
void TestMediaClock::position_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("rate");
    QTest::addColumn<double>("delivered");
    QTest::addColumn<double>("slack");
    QTest::addColumn<double>("t");
    QTest::addColumn<double>("expected");

    QTest::addRow("held before the run is heard") << 2.0 << 1.0 << 9.0 << 0.0 << 0.5 << 2.0;
    QTest::addRow("moves with the clock") << 2.0 << 1.0 << 9.0 << 0.0 << 1.25 << 2.25;
    QTest::addRow("moves at the rate") << 2.0 << 1.4 << 9.0 << 0.0 << 2.0 << 3.4;
    QTest::addRow("slow rate") << 0.0 << 0.8 << 9.0 << 0.0 << 3.0 << 1.6;
    QTest::addRow("waits for a stalled device") << 2.0 << 1.0 << 2.1 << 0.0 << 1.5 << 2.1;
    QTest::addRow("slack lets it lead a little") << 2.0 << 1.0 << 2.1 << 0.03 << 1.5 << 2.13;
    QTest::addRow("never past the duration") << 2.0 << 1.0 << 10.0 << 0.0 << 30.0 << 5.0;
    QTest::addRow("start beyond the duration is clamped") << 8.0 << 1.0 << 10.0 << 0.0 << 0.0 << 5.0;
}

void TestMediaClock::position()
{
    QFETCH(double, start);
    QFETCH(double, rate);
    QFETCH(double, delivered);
    QFETCH(double, slack);
    QFETCH(double, t);
    QFETCH(double, expected);
    PlaybackClock clock;
    clock.setDuration(5.0);
    clock.setSlack(slack);
    clock.startRun(start, rate, 1.0);
    clock.delivered(delivered);
    QVERIFY(clock.running());
    QCOMPARE_LE(std::abs(clock.position(t) - expected), 1e-9);
}

void TestMediaClock::rateChangeIsContinuous()
{
    PlaybackClock clock;
    clock.setDuration(60);
    clock.startRun(1.0, 1.0, 10.0);
    clock.delivered(60);
    // Asked at 12.0, heard from 12.05: until then the old rate holds.
    clock.changeRate(1.4, 12.05);
    QCOMPARE_LE(std::abs(clock.position(12.05) - 3.05), 1e-9);
    QCOMPARE_LE(std::abs(clock.position(12.0) - 3.0), 1e-9);
    QCOMPARE_LE(std::abs(clock.position(13.05) - 4.45), 1e-9);
    // A second change before the first is heard replaces nothing already heard.
    clock.changeRate(0.8, 14.05);
    QCOMPARE_LE(std::abs(clock.position(14.05) - 5.85), 1e-9);
    QCOMPARE_LE(std::abs(clock.position(15.05) - 6.65), 1e-9);
    // A change before the run is heard just sets the run's rate.
    PlaybackClock fresh;
    fresh.setDuration(60);
    fresh.startRun(0, 1.0, 5.0);
    fresh.delivered(60);
    fresh.changeRate(1.2, 4.0);
    QCOMPARE_LE(std::abs(fresh.position(6.0) - 1.2), 1e-9);
}

void TestMediaClock::reachesEndOnlyWhenAllHandedOver()
{
    PlaybackClock clock;
    clock.setDuration(2.0);
    clock.startRun(0, 1.0, 0.0);
    clock.delivered(1.5);
    QVERIFY(!clock.reachedEnd(3.0));
    QCOMPARE(clock.position(3.0), 1.5);
    clock.delivered(2.0);
    QVERIFY(!clock.reachedEnd(1.9));
    QVERIFY(clock.reachedEnd(2.0));
    QCOMPARE(clock.position(100.0), 2.0);
}

void TestMediaClock::freezeKeepsPosition()
{
    PlaybackClock clock;
    clock.setDuration(10);
    clock.startRun(1.0, 1.2, 0.0);
    clock.delivered(10);
    QCOMPARE_LE(std::abs(clock.freeze(2.0) - 3.4), 1e-9);
    QVERIFY(!clock.running());
    QCOMPARE_LE(std::abs(clock.position(50.0) - 3.4), 1e-9);
    clock.hold(-3);
    QCOMPARE(clock.position(0), 0.0);
}

QTEST_GUILESS_MAIN(TestMediaClock)
#include "test_media_clock.moc"
