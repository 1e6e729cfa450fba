#include "player/playback/RepaintPacer.h"

#include <cmath>

namespace mvx {

void RepaintPacer::SetRefreshRate(double refreshHz)
{
    // Screens that cannot say report 0; nothing real refreshes below 1 Hz or above 1000 Hz.
    const double hz = (refreshHz >= 1.0 && refreshHz <= 1000.0) ? refreshHz : DefaultRefreshHz;
    m_frameMs = 1000.0 / hz;
}

int RepaintPacer::WaitMs(qint64 nowMs) const
{
    if (!m_painted)
        return 0;
    const double due = double(m_lastMs) + m_frameMs;
    return nowMs >= due ? 0 : int(std::ceil(due - double(nowMs)));
}

} // namespace mvx
