#pragma once
// Speech for the bundled lessons from espeak-ng: one sentence at a time into 16-bit mono
// samples at espeak's own rate (22050 Hz), with the silence espeak puts around the speech
// trimmed, so the caller decides the pauses exactly. One instance per process (espeak-ng
// keeps global state).
#include <QString>
#include <vector>

namespace mvx {

class SpeechSynth final
{
public:
    SpeechSynth() = default;
    ~SpeechSynth();
    SpeechSynth(const SpeechSynth &) = delete;
    SpeechSynth &operator=(const SpeechSynth &) = delete;

    // voice: an espeak-ng voice name ("en-us"); wordsPerMinute: speaking rate.
    bool init(const QString &voice, int wordsPerMinute, QString *error);
    [[nodiscard]] int sampleRate() const { return m_sampleRate; }
    // The sentence's speech without leading and trailing silence; empty on failure.
    [[nodiscard]] std::vector<short> speak(const QString &text);

private:
    int m_sampleRate = 0;
};

} // namespace mvx
