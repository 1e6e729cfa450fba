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

namespace {

constexpr double NoLevel = -std::numeric_limits<double>::infinity();

// The true peak is most of the measuring cost, and only the loud parts of a clip can hold it.
// An interpolated value is a weighted sum of nearby samples whose weights add up to well under
// PeakHeadroom (libebur128's interpolator: about 1.9) and reach well under PeakReach samples;
// so a value whose samples are all under samplePeak / PeakHeadroom cannot pass the sample
// peak. Only stretches within PeakReach of a louder sample are measured, each after PeakReach
// samples of silence that clear the interpolator; the result is that of the whole clip.
constexpr float PeakHeadroom = 2.5f;
constexpr size_t PeakReach = 64;

// The linear true peak, never under the sample peak; -1 when it cannot be measured. Only a
// peak of at least `atLeast` is measured exactly: below that, some value from the sample peak
// up to under `atLeast` is returned, since only stretches that can reach it are measured.
double TruePeak(std::span<const float> samples, int rate, float atLeast = 0)
{
    float samplePeak = 0;
    for (const float v : samples)
        samplePeak = std::max(samplePeak, std::fabs(v));
    if (samplePeak == 0)
        return 0;
    const float loud = std::max(samplePeak, atLeast) / PeakHeadroom;
    if (samplePeak <= loud)
        return samplePeak;
    ebur128_state *st = ebur128_init(1, unsigned(rate), EBUR128_MODE_TRUE_PEAK);
    if (!st)
        return -1;
    const std::vector<float> silence(PeakReach, 0.0f);
    bool ok = true;
    const size_t n = samples.size();
    size_t i = 0;
    while (ok && i < n) {
        while (i < n && std::fabs(samples[i]) <= loud)
            ++i;
        if (i == n)
            break;
        // A stretch: from PeakReach before the first loud sample to PeakReach after the last
        // loud one that is not followed by another within 2 * PeakReach.
        const size_t from = i > PeakReach ? i - PeakReach : 0;
        size_t lastLoud = i;
        for (size_t j = i + 1; j < n && j <= lastLoud + 2 * PeakReach; ++j) {
            if (std::fabs(samples[j]) > loud)
                lastLoud = j;
        }
        const size_t to = std::min(n, lastLoud + PeakReach + 1);
        ok = ebur128_add_frames_float(st, samples.data() + from, to - from) == EBUR128_SUCCESS
             && (to == n || ebur128_add_frames_float(st, silence.data(), silence.size()) == EBUR128_SUCCESS);
        i = to;
    }
    double peak = -1;
    if (ok && ebur128_true_peak(st, 0, &peak) != EBUR128_SUCCESS)
        peak = -1;
    ebur128_destroy(&st);
    return peak < 0 ? -1 : std::max(peak, double(samplePeak));
}

double IntegratedLufs(std::span<const float> samples, int rate)
{
    ebur128_state *st = ebur128_init(1, unsigned(rate), EBUR128_MODE_I);
    if (!st)
        return NoLevel;
    double lufs = NoLevel;
    if (ebur128_add_frames_float(st, samples.data(), samples.size()) != EBUR128_SUCCESS
        || ebur128_loudness_global(st, &lufs) != EBUR128_SUCCESS)
        lufs = NoLevel;
    ebur128_destroy(&st);
    return std::isfinite(lufs) ? lufs : NoLevel;
}

} // namespace

Loudness MeasureLoudness(std::span<const float> samples, int rate)
{
    Loudness out{NoLevel, NoLevel};
    if (samples.empty() || rate <= 0)
        return out;
    out.integratedLufs = IntegratedLufs(samples, rate);
    const double peak = TruePeak(samples, rate);
    out.truePeakDb = peak > 0 ? 20.0 * std::log10(peak) : NoLevel;
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

double LevelGainDb(std::span<const float> samples, int rate)
{
    if (samples.empty() || rate <= 0)
        return LevelGainDb(Loudness{NoLevel, NoLevel});
    Loudness loudness{IntegratedLufs(samples, rate), NoLevel};
    // The true peak matters only where it would hold the gain under the loudness target.
    const double wanted = loudness.hasLoudness() ? TargetLufs - loudness.integratedLufs : 0.0;
    const float binding = float(std::pow(10.0, (CeilingDbtp - wanted) / 20.0));
    const double peak = TruePeak(samples, rate, binding);
    if (peak < 0)
        return LevelGainDb(Loudness{loudness.integratedLufs, 0.0}); // unmeasurable: taken as full scale
    if (peak >= binding)
        loudness.truePeakDb = 20.0 * std::log10(peak);
    return LevelGainDb(loudness);
}

std::vector<qint16> Levelled(const std::vector<qint16> &samples, int rate)
{
    std::vector<float> f(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        f[i] = float(samples[i]) * (1.0f / 32768.0f);
    const float gain = float(std::pow(10.0, LevelGainDb(f, rate) / 20.0)) * 32768.0f;
    std::vector<qint16> out(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        out[i] = qint16(std::lrint(std::clamp(f[i] * gain, -32768.0f, 32767.0f)));
    return out;
}

} // namespace mvx::excerpt
