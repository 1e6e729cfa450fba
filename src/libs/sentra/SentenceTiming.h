#pragma once
// The learner's timing nudges: how far a sentence's start and end may move. A sentence keeps
// at least MinSentenceMs; its start never goes before the previous sentence's start (or the
// sound's start), its end never past the next sentence's end or the end of the sound.
// Overlap with a neighbour is allowed; the neighbour's own times never change.

namespace mvx::sentra {

inline constexpr int MinSentenceMs = 100;

enum class SentenceEdge { Start, End };

struct TimeSpan
{
    int startMs = 0;
    int endMs = 0;
    friend bool operator==(const TimeSpan &, const TimeSpan &) = default;
};

struct TimingLimits
{
    int earliestStartMs = 0; // the previous sentence's start, or 0
    int latestEndMs = 0;     // the next sentence's end or the sound's length, whichever is less
};

// The span after moving one edge by deltaMs (negative = earlier), held inside the limits and
// at least MinSentenceMs long where the limits leave room for that; the other edge stays.
// Where they do not (a sound shorter than MinSentenceMs), the limits win.
[[nodiscard]] TimeSpan NudgeSpan(TimeSpan span, SentenceEdge edge, int deltaMs, TimingLimits limits);

} // namespace mvx::sentra
