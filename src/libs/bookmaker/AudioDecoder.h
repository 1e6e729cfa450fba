#pragma once
// Decodes a learner's sound file (WAV, MP3, FLAC, OGG and whatever else libsndfile
// reads) for its exact length and the loudness of every 10 ms (for pause finding), in
// one pass that keeps no samples, so an hour of sound needs a few megabytes.
#include <QString>
#include <functional>
#include <vector>

namespace mvx {

struct DecodedAudio
{
    std::vector<double> frameEnergies; // mean square of every whole 10 ms frame, channels averaged
    double frameMs = 10;               // exact length of those frames
    int sampleRate = 0;
    qint64 durationMs = 0;
    QString error; // non-empty: the file is missing, unreadable or holds no sound (without the path)
    bool cancelled = false;
};

class AudioDecoder final
{
public:
    // Reads the whole file. progress (optional) hears the share read so far, 0..100, and
    // stops the reading (cancelled, with an error) by returning false.
    [[nodiscard]] static DecodedAudio decode(const QString &path, const std::function<bool(int)> &progress = {});
    // Accepted file name extensions (lower case, without dot).
    [[nodiscard]] static bool isSupportedExtension(const QString &path);
};

} // namespace mvx
