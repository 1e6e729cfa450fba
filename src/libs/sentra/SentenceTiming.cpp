#include "libs/sentra/SentenceTiming.h"

#include <algorithm>

namespace mvx::sentra {

TimeSpan NudgeSpan(TimeSpan span, SentenceEdge edge, int deltaMs, TimingLimits limits)
{
    const int lo = std::max(0, limits.earliestStartMs);
    const int hi = std::max(lo, limits.latestEndMs); // the limits win over the least length
    if (edge == SentenceEdge::Start) {
        // The start may not pass the point MinSentenceMs before the end (nor leave the limits).
        const int latest = std::max(lo, std::min(span.endMs, hi) - MinSentenceMs);
        span.startMs = std::clamp(span.startMs + deltaMs, lo, latest);
    } else {
        const int earliest = std::min(hi, std::max(span.startMs, lo) + MinSentenceMs);
        span.endMs = std::clamp(span.endMs + deltaMs, earliest, hi);
    }
    return span;
}

} // namespace mvx::sentra
