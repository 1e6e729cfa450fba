#include "SoundCentre.h"

#include "SoundIo.h"
#include "SpeechEngine.h"
#include "core/Helpers.h"

#include <QFile>
#include <QFileInfo>

namespace mvx {

SoundCentre::SoundCentre(int sampleRate, int channels, SpeechEngine *speech)
    : m_sampleRate(sampleRate), m_channels(channels), m_speech(speech)
{
}

bool SoundCentre::addLibrary(const QString &indexFile, const QString &dataFolder, int kind)
{
    auto library = std::make_unique<SoundLibrary>();
    if (!library->load(indexFile, dataFolder, kind))
        return false;
    m_libraries.push_back(std::move(library));
    return true;
}

bool SoundCentre::ttsAvailable() const
{
    return m_speech && m_speech->available();
}

QString SoundCentre::setVoice(const QString &requested)
{
    if (!ttsAvailable())
        return {};
    const QList<VoiceInfo> voices = m_speech->voices();
    const int index = VoiceCatalog::Resolve(voices, requested);
    m_voice = index >= 0 ? voices.at(index).name : QString();
    // Loading the voice now keeps the first word fast.
    QVector<qint16> warm;
    m_speech->synthesize(QStringLiteral("a"), m_voice, m_wordsPerMinute, warm);
    return m_voice;
}

QStringList SoundCentre::voiceNames() const
{
    QStringList names;
    if (ttsAvailable())
        for (const VoiceInfo &voice : m_speech->voices())
            names << voice.name;
    return names;
}

bool SoundCentre::writeFromFile(const QString &soundFile, const QString &target, int *lengthMs) const
{
    // A library file already in the output format is copied as it is.
    qint64 frames = 0;
    if (SoundIo::IsWav16(soundFile, m_sampleRate, m_channels, &frames) && frames > 0) {
        QFile::remove(target);
        if (!QFile::copy(soundFile, target))
            return false;
        QFile(target).setPermissions(QFile(target).permissions() | QFileDevice::WriteOwner);
        if (lengthMs)
            *lengthMs = int(frames * 1000 / m_sampleRate);
        return true;
    }
    MonoSound sound;
    if (!SoundIo::ReadMono(soundFile, sound) || sound.samples.isEmpty())
        return false;
    const QVector<qint16> samples = SoundIo::Resample(sound.samples, sound.sampleRate, m_sampleRate);
    if (!SoundIo::WriteWav16(target, samples, m_sampleRate, m_channels))
        return false;
    if (lengthMs)
        *lengthMs = int(qint64(samples.size()) * 1000 / m_sampleRate);
    return true;
}

SoundCentre::Source SoundCentre::writeWordSound(const QString &word, const QString &basePath, int *lengthMs)
{
    if (lengthMs)
        *lengthMs = 0;
    const QString target = ToFsPath(basePath) + QStringLiteral(".wav");
    const QString key = SoundLibrary::NormaliseWord(word);
    if (!key.isEmpty() && !basePath.isEmpty()) {
        for (const auto &library : m_libraries) {
            const QString file = library->soundFileFor(key);
            // A damaged entry does not hide the word in later libraries or the synthesiser.
            if (!file.isEmpty() && writeFromFile(file, target, lengthMs))
                return FromLibrary;
        }
        // Spoken as written (case kept: "US" is not "us"), without surrounding punctuation.
        QString spoken = word.simplified();
        while (!spoken.isEmpty() && !spoken.front().isLetterOrNumber())
            spoken.remove(0, 1);
        while (!spoken.isEmpty() && !spoken.back().isLetterOrNumber())
            spoken.chop(1);
        QVector<qint16> samples;
        if (ttsAvailable() && m_speech->synthesize(spoken, m_voice, m_wordsPerMinute, samples)) {
            const QVector<qint16> out = SoundIo::Resample(samples, m_speech->sampleRate(), m_sampleRate);
            if (SoundIo::WriteWav16(target, out, m_sampleRate, m_channels)) {
                if (lengthMs)
                    *lengthMs = int(qint64(out.size()) * 1000 / m_sampleRate);
                return Synthesised;
            }
        }
    }
    if (!basePath.isEmpty())
        QFile::remove(target);
    return None;
}

} // namespace mvx
