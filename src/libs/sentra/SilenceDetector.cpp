#include "SilenceDetector.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace mvx {

namespace {

struct Pause
{
    int first = 0; // first quiet frame
    int end = 0;   // one past the last quiet frame
    [[nodiscard]] int length() const { return end - first; }
};

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    const auto k = size_t(std::clamp(p, 0.0, 1.0) * double(values.size() - 1));
    std::nth_element(values.begin(), values.begin() + qsizetype(k), values.end());
    return values[k];
}

} // namespace

std::vector<double> SilenceDetector::frameEnergies(std::span<const float> samples, int sampleRate)
{
    const int frameLen = frameSamples(sampleRate);
    const size_t frames = samples.size() / size_t(frameLen);
    std::vector<double> energies(frames, 0.0);
    for (size_t f = 0; f < frames; ++f) {
        double sum = 0;
        for (int i = 0; i < frameLen; ++i) {
            const double v = samples[f * size_t(frameLen) + size_t(i)];
            sum += v * v;
        }
        energies[f] = sum / frameLen;
    }
    return energies;
}

SilenceResult SilenceDetector::split(std::span<const float> samples, int sampleRate, int count)
{
    if (sampleRate <= 0) {
        SilenceResult result;
        result.error = QStringLiteral("采样率无效");
        return result;
    }
    return split(frameEnergies(samples, sampleRate), frameSamples(sampleRate) * 1000.0 / sampleRate,
                 qint64(samples.size()) * 1000 / sampleRate, count);
}

namespace {

// The speech and its pauses, in frames.
struct SpeechFrames
{
    int firstLoud = -1;
    int lastLoud = -1;
    std::vector<Pause> pauses; // at least MinPauseMs long, in time order
};

// Levels (dB) of the frames and the speech threshold over them; threshold is NaN when
// nothing stands out from the noise floor.
struct FrameLevels
{
    std::vector<double> levels;
    double threshold = std::nan("");
};

FrameLevels levelsOf(const std::vector<double> &energies)
{
    FrameLevels out;
    const int frames = int(energies.size());
    out.levels.assign(size_t(frames), -200.0);
    for (int f = 0; f < frames; ++f) {
        const double e = energies[size_t(f)];
        out.levels[size_t(f)] = e > 1e-20 ? 10.0 * std::log10(e) : -200.0;
    }
    const double floorDb = std::max(percentile(out.levels, 0.05), -80.0);
    const double loudDb = percentile(out.levels, 0.95);
    if (frames == 0 || loudDb < -70.0 || loudDb - floorDb < 10.0)
        return out;
    out.threshold = floorDb + std::max(6.0, (loudDb - floorDb) * 0.3);
    return out;
}

// Quiet frames lie well below the loud parts, relative to the recording's own noise floor.
// Empty (firstLoud < 0) when nothing stands out.
SpeechFrames analyse(const std::vector<double> &energies, double frameMs)
{
    SpeechFrames out;
    const auto toMs = [frameMs](int frame) { return qint64(std::llround(frame * frameMs)); };
    const int frames = int(energies.size());
    const FrameLevels fl = levelsOf(energies);
    if (std::isnan(fl.threshold))
        return out;
    const std::vector<double> &levels = fl.levels;
    const double threshold = fl.threshold;
    for (int f = 0; f < frames; ++f) {
        if (levels[size_t(f)] >= threshold) {
            if (out.firstLoud < 0)
                out.firstLoud = f;
            out.lastLoud = f;
        }
    }
    for (int f = out.firstLoud; f <= out.lastLoud;) {
        if (levels[size_t(f)] >= threshold) {
            ++f;
            continue;
        }
        Pause p{f, f};
        while (p.end <= out.lastLoud && levels[size_t(p.end)] < threshold)
            ++p.end;
        if (toMs(p.length()) >= SilenceDetector::MinPauseMs)
            out.pauses.push_back(p);
        f = p.end;
    }
    return out;
}

} // namespace

std::vector<bool> SilenceDetector::speechFrames(const std::vector<double> &energies)
{
    const FrameLevels fl = levelsOf(energies);
    std::vector<bool> speech(energies.size(), false);
    if (!std::isnan(fl.threshold))
        for (size_t f = 0; f < speech.size(); ++f)
            speech[f] = fl.levels[f] >= fl.threshold;
    return speech;
}

QList<PauseSpan> SilenceDetector::findPauses(const std::vector<double> &energies, double frameMs)
{
    QList<PauseSpan> out;
    if (frameMs <= 0)
        return out;
    for (const Pause &p : analyse(energies, frameMs).pauses)
        out.append({qint64(std::llround(p.first * frameMs)), qint64(std::llround(p.end * frameMs))});
    return out;
}

SilenceResult SilenceDetector::split(const std::vector<double> &energies, double frameMs, qint64 durationMs,
                                     int count)
{
    SilenceResult result;
    const auto toMs = [frameMs](int frame) { return qint64(std::llround(frame * frameMs)); };
    if (count < 1 || frameMs <= 0) {
        result.error = QStringLiteral("句数无效");
        return result;
    }
    SpeechFrames speech = analyse(energies, frameMs);
    if (speech.firstLoud < 0) {
        result.error = QStringLiteral("声音中听不出语音和停顿（可能是静音或持续噪音）");
        return result;
    }
    std::vector<Pause> &pauses = speech.pauses;
    result.pausesFound = int(pauses.size());
    if (int(pauses.size()) < count - 1) {
        result.error = QStringLiteral("声音中只找到 %1 处停顿，不够分出 %2 句（每句之间需要至少 %3 毫秒的停顿）")
                           .arg(pauses.size())
                           .arg(count)
                           .arg(MinPauseMs);
        return result;
    }
    // The longest pauses are the sentence ends; ties go to the earlier pause.
    std::stable_sort(pauses.begin(), pauses.end(),
                     [](const Pause &a, const Pause &b) { return a.length() > b.length(); });
    pauses.resize(size_t(count - 1));
    std::sort(pauses.begin(), pauses.end(), [](const Pause &a, const Pause &b) { return a.first < b.first; });

    qint64 start = std::max<qint64>(0, toMs(speech.firstLoud) - LeadMs);
    for (const Pause &p : pauses) {
        const qint64 boundary = boundaryIn({toMs(p.first), toMs(p.end)});
        result.sentences.append({start, boundary});
        start = boundary;
    }
    result.sentences.append({start, durationMs});
    return result;
}

} // namespace mvx
