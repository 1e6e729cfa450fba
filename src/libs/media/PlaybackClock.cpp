#include "libs/media/PlaybackClock.h"

#include <algorithm>

namespace mvx {

double PlaybackClock::clampToDuration(double pos) const
{
    return std::clamp(pos, 0.0, std::max(0.0, m_duration));
}

void PlaybackClock::hold(double pos)
{
    m_running = false;
    m_hasNext = false;
    m_held = clampToDuration(pos);
    m_deliveredEnd = m_held;
}

void PlaybackClock::setDuration(double duration)
{
    m_duration = std::max(0.0, duration);
    m_held = clampToDuration(m_held);
}

void PlaybackClock::startRun(double sourcePos, double rate, double heardAt)
{
    m_running = true;
    m_hasNext = false;
    m_held = clampToDuration(sourcePos);
    m_seg = {heardAt, m_held, rate};
    m_deliveredEnd = m_held;
}

void PlaybackClock::changeRate(double rate, double heardAt)
{
    if (!m_running) {
        return;
    }
    if (m_hasNext && heardAt >= m_next.t0) {
        m_seg = m_next;
        m_hasNext = false;
    }
    const double pos = nominal(heardAt);
    if (heardAt <= m_seg.t0) {
        // Not heard yet at all: the run simply starts at the new rate.
        m_seg.rate = rate;
        m_hasNext = false;
        return;
    }
    m_next = {heardAt, pos, rate};
    m_hasNext = true;
}

double PlaybackClock::nominal(double t) const
{
    if (!m_running)
        return m_held;
    const Segment &s = (m_hasNext && t >= m_next.t0) ? m_next : m_seg;
    if (t <= s.t0)
        return s.pos0;
    return s.pos0 + (t - s.t0) * s.rate;
}

double PlaybackClock::position(double t) const
{
    if (!m_running)
        return m_held;
    const Segment &s = (m_hasNext && t >= m_next.t0) ? m_next : m_seg;
    const double bound = std::max(m_deliveredEnd, m_seg.pos0) + m_slack * s.rate;
    return clampToDuration(std::min(nominal(t), bound));
}

double PlaybackClock::freeze(double t)
{
    const double pos = position(t);
    hold(pos);
    return m_held;
}

bool PlaybackClock::reachedEnd(double t) const
{
    return m_running && m_deliveredEnd >= m_duration && nominal(t) >= m_duration;
}

} // namespace mvx
