#pragma once
// Holds the repaints of something that moves with the play position (the tape head) to
// the screen's refresh rate: the position is read every 10 ms, but a picture changed more
// often than the screen shows it is work nobody sees. A change after a quiet frame is
// painted at once; changes inside the same frame wait for the next one and are painted
// together. Times in ms of any monotonic clock.
#include <QtGlobal>

namespace mvx {

class RepaintPacer final
{
public:
    static constexpr double DefaultRefreshHz = 60.0;

    // refreshHz: the screen's rate; 0, negative or absurd values mean 60 Hz.
    explicit RepaintPacer(double refreshHz = DefaultRefreshHz) { SetRefreshRate(refreshHz); }
    void SetRefreshRate(double refreshHz);
    [[nodiscard]] double FrameMs() const { return m_frameMs; }

    // 0 when a change due at nowMs may be painted now, else the whole ms to wait for the
    // next frame (never early: two paints are at least one frame apart).
    [[nodiscard]] int WaitMs(qint64 nowMs) const;
    // A paint was asked for at nowMs.
    void Painted(qint64 nowMs) { m_lastMs = nowMs; m_painted = true; }

private:
    double m_frameMs = 1000.0 / DefaultRefreshHz;
    qint64 m_lastMs = 0;
    bool m_painted = false;
};

} // namespace mvx
