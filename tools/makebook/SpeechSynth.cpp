#include "SpeechSynth.h"

#include <espeak-ng/speak_lib.h>
#include <algorithm>
#include <cstdlib>

namespace mvx {

namespace {

int collect(short *wav, int count, espeak_EVENT *events)
{
    if (wav && count > 0 && events) {
        auto *out = static_cast<std::vector<short> *>(events->user_data);
        out->insert(out->end(), wav, wav + count);
    }
    return 0;
}

} // namespace

SpeechSynth::~SpeechSynth()
{
    if (m_sampleRate > 0)
        espeak_Terminate();
}

bool SpeechSynth::init(const QString &voice, int wordsPerMinute, QString *error)
{
    m_sampleRate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, 0);
    if (m_sampleRate <= 0) {
        if (error)
            *error = QStringLiteral("espeak-ng could not start (is espeak-ng-data installed?)");
        m_sampleRate = 0;
        return false;
    }
    espeak_SetSynthCallback(collect);
    if (espeak_SetVoiceByName(voice.toUtf8().constData()) != EE_OK) {
        if (error)
            *error = QStringLiteral("espeak-ng has no voice \"%1\"").arg(voice);
        return false;
    }
    espeak_SetParameter(espeakRATE, wordsPerMinute, 0);
    return true;
}

std::vector<short> SpeechSynth::speak(const QString &text)
{
    std::vector<short> samples;
    if (m_sampleRate <= 0)
        return samples;
    const QByteArray utf8 = text.toUtf8();
    if (espeak_Synth(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
                     &samples) != EE_OK)
        return {};
    espeak_Synchronize();
    // Trim what is quieter than about -40 dB at either end, keeping a short margin.
    const short threshold = 330;
    const auto loud = [threshold](short s) { return std::abs(int(s)) > threshold; };
    const auto first = std::find_if(samples.begin(), samples.end(), loud);
    if (first == samples.end())
        return {};
    const auto last = std::find_if(samples.rbegin(), samples.rend(), loud).base();
    const auto margin = std::ptrdiff_t(m_sampleRate / 50); // 20 ms
    const auto from = std::max(samples.begin(), first - std::min(margin, first - samples.begin()));
    const auto to = last + std::min(margin, samples.end() - last);
    return std::vector<short>(from, to);
}

} // namespace mvx
