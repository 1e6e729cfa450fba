#pragma once
// The sound centre: finds a word's sound in the registered word-sound libraries, in the
// order they were added, and synthesises it when none holds it. Sounds are written as
// 16-bit PCM WAV in the centre's output format.
#include "SoundLibrary.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace mvx {

class SpeechEngine;

class SoundCentre final
{
public:
    enum Source { None = -1, FromLibrary = 1, Synthesised = 2 };

    // speech may be null: no text to speech.
    SoundCentre(int sampleRate, int channels, SpeechEngine *speech);

    // False (library not added) for a missing or damaged index.
    bool addLibrary(const QString &indexFile, const QString &dataFolder, int kind);
    [[nodiscard]] int libraryCount() const { return int(m_libraries.size()); }

    [[nodiscard]] bool ttsAvailable() const;
    // The voice really used for the request; empty when text to speech is unavailable.
    QString setVoice(const QString &requested);
    [[nodiscard]] QString voice() const { return m_voice; }
    [[nodiscard]] QStringList voiceNames() const;
    void setWordsPerMinute(int wpm) { m_wordsPerMinute = wpm; }

    // Writes basePath + ".wav"; returns where the sound came from, None when nothing has it
    // (an old basePath + ".wav" is then removed). lengthMs gets the sound's length.
    Source writeWordSound(const QString &word, const QString &basePath, int *lengthMs = nullptr);

private:
    bool writeFromFile(const QString &soundFile, const QString &target, int *lengthMs) const;

    int m_sampleRate;
    int m_channels;
    SpeechEngine *m_speech;
    QString m_voice;
    int m_wordsPerMinute = 150;
    std::vector<std::unique_ptr<SoundLibrary>> m_libraries;
};

} // namespace mvx
