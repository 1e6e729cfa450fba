#pragma once
// The player's clock on the window thread: three QTimers (10, 10 and 50 ms) and
// QCoreApplication's event processing for the waits.
#include "player/playback/PlayerClock.h"

#include <QElapsedTimer>
#include <QTimer>

namespace mvx {

class QtPlayerClock final : public PlayerClock
{
public:
    QtPlayerClock();
    void SetTimerHandler(std::function<void(PlayerTimer)> handler) override;
    void SetTimer(PlayerTimer timer, bool on) override;
    [[nodiscard]] bool IsTimerOn(PlayerTimer timer) const override;
    [[nodiscard]] int IntervalMs(PlayerTimer timer) const override;
    [[nodiscard]] qint64 NowMs() const override;
    void ProcessEvents() override;

private:
    QTimer &TimerOf(PlayerTimer timer);
    const QTimer &TimerOf(PlayerTimer timer) const;

    QTimer m_position;
    QTimer m_mediaReady;
    QTimer m_autoRepeatBreak;
    QElapsedTimer m_elapsed;
    std::function<void(PlayerTimer)> m_handler;
};

} // namespace mvx
