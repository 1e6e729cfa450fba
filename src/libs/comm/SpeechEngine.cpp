#include "SpeechEngine.h"

#include <QMutexLocker>
#include <espeak-ng/speak_lib.h>

#include <algorithm>

namespace mvx {

namespace {

int CollectSamples(short *wav, int count, espeak_EVENT *events)
{
    if (wav && count > 0 && events && events->user_data) {
        auto *out = static_cast<QVector<qint16> *>(events->user_data);
        const qsizetype at = out->size();
        out->resize(at + count);
        std::copy(wav, wav + count, out->begin() + at);
    }
    return 0; // go on
}

QStringList ParseLanguages(const char *languages)
{
    // Pairs of (priority byte, zero-ended language), ended by a zero priority.
    QStringList list;
    if (!languages)
        return list;
    const char *p = languages;
    while (*p) {
        ++p; // priority
        const QString code = QString::fromUtf8(p);
        if (!code.isEmpty())
            list << code.toLower();
        p += qstrlen(p) + 1;
    }
    return list;
}

} // namespace

SpeechEngine &SpeechEngine::instance()
{
    static SpeechEngine engine;
    return engine;
}

bool SpeechEngine::ensureStarted()
{
    if (m_tried)
        return m_ok;
    m_tried = true;
    // 0x8000 (espeakINITIALIZE_DONT_EXIT): report a missing data folder instead of exiting.
    const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 200, nullptr, 0x8000);
    if (rate <= 0)
        return false;
    m_rate = rate;
    espeak_SetSynthCallback(&CollectSamples);
    if (const espeak_VOICE **list = espeak_ListVoices(nullptr)) {
        for (; *list; ++list) {
            const espeak_VOICE *v = *list;
            const QString identifier = QString::fromUtf8(v->identifier ? v->identifier : "");
            if (identifier.startsWith(QLatin1String("mb/")) || !v->name)
                continue;
            m_voices.append({QString::fromUtf8(v->name), identifier, ParseLanguages(v->languages)});
        }
    }
    m_ok = !m_voices.isEmpty();
    return m_ok;
}

bool SpeechEngine::available()
{
    QMutexLocker lock(&m_mutex);
    return ensureStarted();
}

int SpeechEngine::sampleRate()
{
    QMutexLocker lock(&m_mutex);
    return ensureStarted() ? m_rate : 0;
}

QList<VoiceInfo> SpeechEngine::voices()
{
    QMutexLocker lock(&m_mutex);
    ensureStarted();
    return m_voices;
}

bool SpeechEngine::selectVoice(const QString &voiceName)
{
    const int index = VoiceCatalog::Resolve(m_voices, voiceName);
    if (index < 0)
        return false;
    const VoiceInfo &voice = m_voices.at(index);
    if (voice.name == m_currentVoice)
        return true;
    // The identifier names the voice file without ambiguity; the name is the fallback.
    if (espeak_SetVoiceByName(voice.identifier.toUtf8().constData()) != EE_OK
        && espeak_SetVoiceByName(voice.name.toUtf8().constData()) != EE_OK)
        return false;
    m_currentVoice = voice.name;
    m_wordsPerMinute = -1; // a new voice resets the rate
    return true;
}

bool SpeechEngine::synthesize(const QString &text, const QString &voiceName, int wordsPerMinute,
                              QVector<qint16> &out)
{
    out.clear();
    QMutexLocker lock(&m_mutex);
    if (!ensureStarted() || text.trimmed().isEmpty() || !selectVoice(voiceName))
        return false;
    const int wpm = std::clamp(wordsPerMinute, 80, 450);
    if (wpm != m_wordsPerMinute) {
        espeak_SetParameter(espeakRATE, wpm, 0);
        m_wordsPerMinute = wpm;
    }
    const QByteArray utf8 = text.toUtf8();
    const espeak_ERROR err = espeak_Synth(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0,
                                          espeakCHARS_UTF8, nullptr, &out);
    return err == EE_OK && !out.isEmpty();
}

} // namespace mvx
