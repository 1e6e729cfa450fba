#pragma once
// Padding a whole sentence's clip: each end widens by whole 10 ms frames of quiet, up to the
// pad, stopping at the first speech frame (the neighbour's), at 0 and at the sound's end.
// The range maths is pure; the speech flags come from the book maker's thresholds over
// the padded stretch (SpeechAround).
#include <QtGlobal>
#include <span>
#include <vector>

namespace mvx::excerpt {

inline constexpr int PadFrameMs = 10;
inline constexpr int DefaultPadMs = 150;
inline constexpr int MaxPadMs = 1000;

struct MsRange
{
    qint64 startMs = 0;
    qint64 endMs = 0;
    friend bool operator==(const MsRange &, const MsRange &) = default;
};

// A stored pad: outside 0..MaxPadMs reads DefaultPadMs.
[[nodiscard]] int ValidPadMs(int stored);
// The ExcerptPadMs setting, validated.
[[nodiscard]] int PadMsSetting();

// speechBefore[k]: frame [start - 10(k+1), start - 10k) holds speech; speechAfter[k]:
// frame [end + 10k, end + 10(k+1)). Frames the vectors do not reach count as the edge.
[[nodiscard]] MsRange PadRange(MsRange sentence, int padMs, qint64 soundMs, const std::vector<bool> &speechBefore,
                               const std::vector<bool> &speechAfter);

// The stretch to cut for padding: [max(0, start - pad), max(end, min(soundMs, end + pad))).
[[nodiscard]] MsRange PadStretch(MsRange sentence, int padMs, qint64 soundMs);

struct SpeechFlags
{
    std::vector<bool> before;
    std::vector<bool> after;
};
// Speech flags of the frames around the sentence, from the padded stretch's samples
// (22050 Hz, first sample at stretch.startMs): frames outward from each end, classified
// together with the sentence's own frames.
[[nodiscard]] SpeechFlags SpeechAround(std::span<const qint16> samples, MsRange stretch, MsRange sentence);

// Sample index of a time at 22050 Hz: round(ms * 22050 / 1000), as the book cuts.
[[nodiscard]] qint64 SampleAt(qint64 ms);

} // namespace mvx::excerpt
