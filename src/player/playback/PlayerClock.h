#pragma once
// Time for the playback logic: its three window timers and the event pump its waits
// use. The real clock runs QTimers on the window thread; tests use a virtual clock that
// fires the timers as virtual time passes.
#include <QCoreApplication>
#include <QtGlobal>
#include <functional>

namespace mvx {

enum class PlayerTimer {
    Position,        // 10 ms (the quiz: 20 ms): reads the play position, end checks
    MediaReady,      // 10 ms: waits for the media-open state
    AutoRepeatBreak, // 50 ms: counts the silent gap of automatic repeat
};

class PlayerClock
{
public:
    virtual ~PlayerClock() = default;
    // The handler called on every tick of a running timer.
    virtual void SetTimerHandler(std::function<void(PlayerTimer)> handler) = 0;
    virtual void SetTimer(PlayerTimer timer, bool on) = 0;
    [[nodiscard]] virtual bool IsTimerOn(PlayerTimer timer) const = 0;
    [[nodiscard]] virtual int IntervalMs(PlayerTimer timer) const = 0;
    // Monotonic milliseconds.
    [[nodiscard]] virtual qint64 NowMs() const = 0;
    // Handles pending events (input, timer ticks), waiting briefly for one; used by the
    // waits for a sound file, which must keep the window alive.
    virtual void ProcessEvents() = 0;
    // Runs f once the calls running now have returned (the next turn of the event loop).
    virtual void Defer(std::function<void()> f)
    {
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(f), Qt::QueuedConnection);
    }
};

} // namespace mvx
