#pragma once
// The player's clock on the window thread: three QTimers (10, 10 and 50 ms) and
// QCoreApplication's event processing for the waits. The quiz window's clock is the same
// with its position timer at 20 ms (QuizPositionMs).
#include "player/playback/PlayerClock.h"

#include <QElapsedTimer>
#include <QTimer>

namespace mvx {

class QtPlayerClock final : public PlayerClock
{
public:
    static constexpr int PlayerPositionMs = 10;
    static constexpr int QuizPositionMs = 20;

    explicit QtPlayerClock(int positionIntervalMs = PlayerPositionMs);
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
