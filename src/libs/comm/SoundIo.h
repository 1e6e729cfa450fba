#pragma once
// Reading and writing sound files through libsndfile: any format it reads comes in as
// 16-bit samples; words and digests use mono, cut sounds keep their own format.
// Failures come back as false with an error text; nothing throws.
#include <QString>
#include <QVector>

namespace mvx {

struct MonoSound
{
    QVector<qint16> samples;
    int sampleRate = 0;
    [[nodiscard]] qint64 lengthMs() const
    {
        return sampleRate > 0 ? qint64(samples.size()) * 1000 / sampleRate : 0;
    }
};

namespace SoundIo {

// Decodes a sound file and mixes its channels down to mono.
bool ReadMono(const QString &path, MonoSound &out, QString *error = nullptr);
// Writes 16-bit PCM WAV with the samples repeated over `channels` channels, through a
// temporary file renamed into place.
bool WriteWav16(const QString &path, const QVector<qint16> &mono, int sampleRate, int channels = 1,
                QString *error = nullptr);
// Linear-interpolation resampling (with a short averaging window when shrinking).
[[nodiscard]] QVector<qint16> Resample(const QVector<qint16> &in, int fromRate, int toRate);
// True when the file is already 16-bit PCM WAV of that rate and channel count; frames
// then receives its length in sample frames.
[[nodiscard]] bool IsWav16(const QString &path, int sampleRate, int channels, qint64 *frames = nullptr);
// A path libsndfile can open: "\" turned to "/" and encoded for the file system.
[[nodiscard]] QByteArray FsName(const QString &path);

} // namespace SoundIo
} // namespace mvx
