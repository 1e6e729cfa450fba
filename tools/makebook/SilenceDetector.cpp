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

SilenceResult SilenceDetector::split(std::span<const float> samples, int sampleRate, int count)
{
    SilenceResult result;
    if (sampleRate <= 0 || count < 1) {
        result.error = QStringLiteral("句数或采样率无效");
        return result;
    }
    const qint64 durationMs = qint64(samples.size()) * 1000 / sampleRate;
    const int frameLen = std::max(1, sampleRate * FrameMs / 1000);
    const int frames = int(samples.size() / size_t(frameLen));

    std::vector<double> levels(size_t(frames), -200.0);
    for (int f = 0; f < frames; ++f) {
        double sum = 0;
        for (int i = 0; i < frameLen; ++i) {
            const double v = samples[size_t(f) * size_t(frameLen) + size_t(i)];
            sum += v * v;
        }
        const double rms = std::sqrt(sum / frameLen);
        levels[size_t(f)] = rms > 1e-10 ? 20.0 * std::log10(rms) : -200.0;
    }
    const double floorDb = std::max(percentile(levels, 0.05), -80.0);
    const double loudDb = percentile(levels, 0.95);
    if (frames == 0 || loudDb < -70.0 || loudDb - floorDb < 10.0) {
        result.error = QStringLiteral("声音中听不出语音和停顿（可能是静音或持续噪音）");
        return result;
    }
    const double threshold = floorDb + std::max(6.0, (loudDb - floorDb) * 0.3);

    int firstLoud = -1;
    int lastLoud = -1;
    for (int f = 0; f < frames; ++f) {
        if (levels[size_t(f)] >= threshold) {
            if (firstLoud < 0)
                firstLoud = f;
            lastLoud = f;
        }
    }
    std::vector<Pause> pauses;
    for (int f = firstLoud; f <= lastLoud;) {
        if (levels[size_t(f)] >= threshold) {
            ++f;
            continue;
        }
        Pause p{f, f};
        while (p.end <= lastLoud && levels[size_t(p.end)] < threshold)
            ++p.end;
        if (p.length() * FrameMs >= MinPauseMs)
            pauses.push_back(p);
        f = p.end;
    }
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

    qint64 start = std::max<qint64>(0, qint64(firstLoud) * FrameMs - LeadMs);
    for (const Pause &p : pauses) {
        const qint64 pauseStart = qint64(p.first) * FrameMs;
        const qint64 pauseEnd = qint64(p.end) * FrameMs;
        const qint64 boundary = pauseEnd - std::min<qint64>(LeadMs, (pauseEnd - pauseStart) / 2);
        result.sentences.append({start, boundary});
        start = boundary;
    }
    result.sentences.append({start, durationMs});
    return result;
}

} // namespace mvx
