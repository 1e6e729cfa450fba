#pragma once
// Writing sentence sounds: 16-bit mono WAV (libsndfile) and constant-bit-rate MP3 (LAME, with
// an Info tag so players know the exact length). A file is written under a temporary name and
// renamed into place, so a reader never sees half a file; on failure nothing is left behind.
#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <vector>

namespace mvx::sentra {

class SoundFiles final
{
public:
    static bool writeWav(const QString &path, const std::vector<qint16> &samples, int rate,
                         QString *error = nullptr);
    static bool writeMp3(const QString &path, const std::vector<qint16> &samples, int rate,
                         int kbps, QString *error = nullptr);
    // The same MP3 as writeMp3 writes, in memory (for callers that place the file themselves).
    static bool encodeMp3(const std::vector<qint16> &samples, int rate, int kbps, QByteArray &mp3,
                          QString *error = nullptr);
    // Reads a WAV (or any libsndfile format) as 16-bit mono (channels averaged).
    static bool readMono16(const QString &path, std::vector<qint16> &samples, int *rate,
                           QString *error = nullptr);
    // base.wav -> base.mp3 at kbps, unless base.mp3 exists and is not older than base.wav.
    static bool makeMp3FromWav(const QString &wavPath, const QString &mp3Path, int kbps,
                               QString *error = nullptr);
};

} // namespace mvx::sentra
