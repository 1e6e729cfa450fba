#include "player/excerpt/Levelling.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace mvx::excerpt {

bool Loudness::hasLoudness() const
{
    return std::isfinite(integratedLufs);
}

Loudness MeasureLoudness(std::span<const float> samples, int rate)
{
    constexpr double none = -std::numeric_limits<double>::infinity();
    Loudness out{none, none};
    if (samples.empty() || rate <= 0)
        return out;
    ebur128_state *st = ebur128_init(1, unsigned(rate), EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK);
    if (!st)
        return out;
    double lufs = none;
    double peak = 0;
    if (ebur128_add_frames_float(st, samples.data(), samples.size()) == EBUR128_SUCCESS) {
        if (ebur128_loudness_global(st, &lufs) != EBUR128_SUCCESS)
            lufs = none;
        if (ebur128_true_peak(st, 0, &peak) != EBUR128_SUCCESS)
            peak = 0;
    }
    ebur128_destroy(&st);
    out.integratedLufs = std::isfinite(lufs) ? lufs : none;
    out.truePeakDb = peak > 0 ? 20.0 * std::log10(peak) : none;
    return out;
}

double LevelGainDb(const Loudness &loudness)
{
    // Silence has no peak: the ceiling allows anything, and nothing is raised.
    const double ceiling = std::isfinite(loudness.truePeakDb) ? CeilingDbtp - loudness.truePeakDb
                                                               : std::numeric_limits<double>::infinity();
    if (!loudness.hasLoudness())
        return std::min(0.0, ceiling);
    return std::min(TargetLufs - loudness.integratedLufs, ceiling);
}

std::vector<qint16> Levelled(const std::vector<qint16> &samples, int rate)
{
    std::vector<float> f(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        f[i] = float(samples[i]) / 32768.0f;
    const double gain = std::pow(10.0, LevelGainDb(MeasureLoudness(f, rate)) / 20.0);
    std::vector<qint16> out(samples.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        const double v = double(f[i]) * gain * 32768.0;
        out[i] = qint16(std::lrint(std::clamp(v, -32768.0, 32767.0)));
    }
    return out;
}

} // namespace mvx::excerpt
