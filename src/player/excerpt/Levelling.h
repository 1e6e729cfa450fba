#pragma once
// Loudness levelling of a clip: integrated loudness and true peak measured by libebur128,
// one gain = min(-16 - L, -1 - TP) dB applied in float, so quiet speech is raised, loud
// speech lowered, and nothing goes above -1 dBTP or clips. A clip without a measurable
// loudness (under 400 ms, or gated out as silence) is only held under the ceiling.
#include <QtGlobal>
#include <span>
#include <vector>

namespace mvx::excerpt {

inline constexpr double TargetLufs = -16.0;
inline constexpr double CeilingDbtp = -1.0;

struct Loudness
{
    double integratedLufs = 0; // -infinity when not measurable
    double truePeakDb = 0;     // -infinity for silence
    [[nodiscard]] bool hasLoudness() const;
};

[[nodiscard]] Loudness MeasureLoudness(std::span<const float> samples, int rate);
[[nodiscard]] double LevelGainDb(const Loudness &loudness);
// The same gain as from MeasureLoudness, measuring the true peak only where it can bind.
[[nodiscard]] double LevelGainDb(std::span<const float> samples, int rate);
// The clip levelled: 16-bit in, 16-bit out, clamped (the gain keeps it under the ceiling).
[[nodiscard]] std::vector<qint16> Levelled(const std::vector<qint16> &samples, int rate);

} // namespace mvx::excerpt
