#include "player/playback/QtPlayerClock.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace mvx {

QtPlayerClock::QtPlayerClock(int positionIntervalMs)
{
    m_elapsed.start();
    const struct {
        QTimer *timer;
        PlayerTimer kind;
        int interval;
    } all[] = {{&m_position, PlayerTimer::Position, positionIntervalMs},
               {&m_mediaReady, PlayerTimer::MediaReady, 10},
               {&m_autoRepeatBreak, PlayerTimer::AutoRepeatBreak, 50}};
    for (const auto &t : all) {
        t.timer->setInterval(t.interval);
        t.timer->setTimerType(Qt::PreciseTimer);
        const PlayerTimer kind = t.kind;
        QObject::connect(t.timer, &QTimer::timeout, [this, kind] {
            if (m_handler)
                m_handler(kind);
        });
    }
}

void QtPlayerClock::SetTimerHandler(std::function<void(PlayerTimer)> handler)
{
    m_handler = std::move(handler);
}

QTimer &QtPlayerClock::TimerOf(PlayerTimer timer)
{
    switch (timer) {
    case PlayerTimer::Position:
        return m_position;
    case PlayerTimer::MediaReady:
        return m_mediaReady;
    case PlayerTimer::AutoRepeatBreak:
        break;
    }
    return m_autoRepeatBreak;
}

const QTimer &QtPlayerClock::TimerOf(PlayerTimer timer) const
{
    return const_cast<QtPlayerClock *>(this)->TimerOf(timer);
}

void QtPlayerClock::SetTimer(PlayerTimer timer, bool on)
{
    QTimer &t = TimerOf(timer);
    if (on && !t.isActive())
        t.start();
    else if (!on && t.isActive())
        t.stop();
}

bool QtPlayerClock::IsTimerOn(PlayerTimer timer) const
{
    return TimerOf(timer).isActive();
}

int QtPlayerClock::IntervalMs(PlayerTimer timer) const
{
    return TimerOf(timer).interval();
}

qint64 QtPlayerClock::NowMs() const
{
    return m_elapsed.elapsed();
}

void QtPlayerClock::ProcessEvents()
{
    // Wakes at the latest with the media-ready timer's next tick.
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

} // namespace mvx
