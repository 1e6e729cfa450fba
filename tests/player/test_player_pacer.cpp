// The tape head's repaint pacing, on a virtual clock: position ticks every 10 ms must not
// repaint more often than the screen refreshes, yet the head must keep moving each frame.
#include "player/playback/RepaintPacer.h"

#include <QtTest>

using namespace mvx;

class TestPlayerPacer : public QObject
{
    Q_OBJECT

    // Drives the pacer as the view does: a change at every tick; a change that must wait
    // books the next frame, and changes arriving while one is booked join it.
    static QList<qint64> PaintTimes(RepaintPacer &pacer, int tickMs, int durationMs)
    {
        QList<qint64> paints;
        qint64 booked = -1;
        for (qint64 now = 0; now <= durationMs; ++now) {
            if (booked >= 0 && now >= booked) {
                booked = -1;
                if (const int wait = pacer.WaitMs(now); wait > 0) {
                    booked = now + wait;
                } else {
                    pacer.Painted(now);
                    paints << now;
                }
            }
            if (now % tickMs != 0 || booked >= 0)
                continue;
            if (const int wait = pacer.WaitMs(now); wait > 0) {
                booked = now + wait;
            } else {
                pacer.Painted(now);
                paints << now;
            }
        }
        return paints;
    }

private slots:
    void paintsPerSecond_data()
    {
        QTest::addColumn<double>("refreshHz");
        QTest::addColumn<int>("tickMs");
        QTest::addColumn<int>("most");
        QTest::addColumn<int>("least");
        QTest::addRow("60 Hz screen, 10 ms ticks") << 60.0 << 10 << 60 << 45;
        QTest::addRow("30 Hz screen") << 30.0 << 10 << 30 << 25;
        QTest::addRow("144 Hz screen is limited by the ticks") << 144.0 << 10 << 101 << 95;
        QTest::addRow("unreadable rate counts as 60 Hz") << 0.0 << 10 << 60 << 45;
        QTest::addRow("absurd rate counts as 60 Hz") << 100000.0 << 10 << 60 << 45;
        QTest::addRow("slow ticks paint every time") << 60.0 << 40 << 26 << 26;
    }
    void paintsPerSecond()
    {
        QFETCH(double, refreshHz);
        QFETCH(int, tickMs);
        QFETCH(int, most);
        QFETCH(int, least);
        RepaintPacer pacer(refreshHz);
        const QList<qint64> paints = PaintTimes(pacer, tickMs, 1000);
        QVERIFY2(paints.size() <= most, qPrintable(QString::number(paints.size())));
        QVERIFY2(paints.size() >= least, qPrintable(QString::number(paints.size())));
        // Never two paints inside one frame, never a frame left out while ticks came.
        const double frame = pacer.FrameMs();
        for (int i = 1; i < paints.size(); ++i) {
            const qint64 gap = paints[i] - paints[i - 1];
            QVERIFY2(gap >= frame - 1e-9, qPrintable(QStringLiteral("gap %1 ms").arg(gap)));
            QVERIFY2(gap <= std::max<double>(tickMs, frame) + 1, qPrintable(QStringLiteral("gap %1 ms").arg(gap)));
        }
    }

    void firstChangeAfterQuietIsImmediate()
    {
        RepaintPacer pacer(60.0);
        QCOMPARE(pacer.WaitMs(5), 0);
        pacer.Painted(5);
        QCOMPARE(pacer.WaitMs(6), 16); // 5 + 16.67 -> wait until 21.67, whole ms up
        QCOMPARE(pacer.WaitMs(22), 0);
        QCOMPARE(pacer.WaitMs(500), 0); // a long pause: the next change paints at once
    }
};

QTEST_GUILESS_MAIN(TestPlayerPacer)
#include "test_player_pacer.moc"
