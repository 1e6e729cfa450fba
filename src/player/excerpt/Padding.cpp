#include "player/excerpt/Padding.h"

#include "core/UserSettings.h"
#include "player/excerpt/ExcerptKeys.h"
#include "libs/sentra/SilenceDetector.h"

#include <algorithm>

namespace mvx::excerpt {

int ValidPadMs(int stored)
{
    return stored >= 0 && stored <= MaxPadMs ? stored : DefaultPadMs;
}

int PadMsSetting()
{
    return ValidPadMs(GetUserInt(QString::fromLatin1(Key::ExcerptPadMs), DefaultPadMs));
}

qint64 SampleAt(qint64 ms)
{
    const qint64 num = ms * 441;
    return num >= 0 ? (num + 10) / 20 : -((-num + 10) / 20);
}

namespace {

// Quiet frames before the first speech frame, at most `limit`.
int QuietRun(const std::vector<bool> &speech, int limit)
{
    int n = 0;
    while (n < limit && n < int(speech.size()) && !speech[size_t(n)])
        ++n;
    return n;
}

} // namespace

MsRange PadRange(MsRange sentence, int padMs, qint64 soundMs, const std::vector<bool> &speechBefore,
                 const std::vector<bool> &speechAfter)
{
    const int frames = std::max(0, padMs) / PadFrameMs;
    MsRange out = sentence;
    out.startMs = std::max<qint64>(0, sentence.startMs - qint64(QuietRun(speechBefore, frames)) * PadFrameMs);
    if (sentence.endMs < soundMs)
        out.endMs = std::min(soundMs, sentence.endMs + qint64(QuietRun(speechAfter, frames)) * PadFrameMs);
    return out;
}

MsRange PadStretch(MsRange sentence, int padMs, qint64 soundMs)
{
    const qint64 pad = std::max(0, padMs);
    return {std::max<qint64>(0, sentence.startMs - pad),
            std::max(sentence.endMs, std::min(soundMs, sentence.endMs + pad))};
}

SpeechFlags SpeechAround(std::span<const qint16> samples, MsRange stretch, MsRange sentence)
{
    const qint64 base = SampleAt(stretch.startMs);
    const auto energy = [&](qint64 fromMs, qint64 toMs) {
        const qint64 a = std::clamp<qint64>(SampleAt(fromMs) - base, 0, qint64(samples.size()));
        const qint64 b = std::clamp<qint64>(SampleAt(toMs) - base, a, qint64(samples.size()));
        double sum = 0;
        for (qint64 i = a; i < b; ++i) {
            const double v = samples[size_t(i)] / 32768.0;
            sum += v * v;
        }
        return b > a ? sum / double(b - a) : 0.0;
    };
    std::vector<double> energies;
    int nBefore = 0;
    for (qint64 t = sentence.startMs; t > stretch.startMs; t -= PadFrameMs, ++nBefore)
        energies.push_back(energy(std::max(stretch.startMs, t - PadFrameMs), t));
    for (qint64 t = sentence.startMs; t + PadFrameMs <= sentence.endMs; t += PadFrameMs)
        energies.push_back(energy(t, t + PadFrameMs));
    const size_t afterFirst = energies.size();
    for (qint64 t = sentence.endMs; t < stretch.endMs; t += PadFrameMs)
        energies.push_back(energy(t, std::min(stretch.endMs, t + PadFrameMs)));
    const std::vector<bool> speech = SilenceDetector::speechFrames(energies);
    SpeechFlags out;
    out.before.assign(speech.begin(), speech.begin() + nBefore);
    out.after.assign(speech.begin() + qsizetype(afterFirst), speech.end());
    return out;
}

} // namespace mvx::excerpt
