#pragma once
// Text to speech by espeak-ng, started once per process and kept warm: synchronous mode,
// samples collected through the synthesis callback, so a word costs milliseconds.
// espeak-ng is one global engine, so every call is serialised here. Voices that need
// outside programs (MBROLA) are not offered.
#include "VoiceCatalog.h"

#include <QList>
#include <QMutex>
#include <QString>
#include <QVector>

namespace mvx {

class SpeechEngine final
{
public:
    // The process's engine; it starts on first use.
    static SpeechEngine &instance();

    SpeechEngine(const SpeechEngine &) = delete;
    SpeechEngine &operator=(const SpeechEngine &) = delete;

    // True when espeak-ng started and offers at least one voice.
    [[nodiscard]] bool available();
    [[nodiscard]] int sampleRate(); // of the synthesised samples (22050 with espeak-ng)
    [[nodiscard]] QList<VoiceInfo> voices();

    // Synthesises text with the named voice (a name from voices(); an unknown one gives the
    // default voice) at wordsPerMinute (80..450). Returns false when the engine is not
    // available or produced nothing.
    bool synthesize(const QString &text, const QString &voiceName, int wordsPerMinute, QVector<qint16> &out);

private:
    SpeechEngine() = default;
    bool ensureStarted(); // with m_mutex held
    bool selectVoice(const QString &voiceName);

    QMutex m_mutex;
    bool m_tried = false;
    bool m_ok = false;
    int m_rate = 0;
    int m_wordsPerMinute = -1;
    QString m_currentVoice;
    QList<VoiceInfo> m_voices;
};

} // namespace mvx
