#pragma once
// Decodes a learner's sound file (WAV, MP3, FLAC, OGG and whatever else libsndfile
// reads) into mono float samples, for its length and for pause finding.
#include <QString>
#include <vector>

namespace mvx {

struct DecodedAudio
{
    std::vector<float> samples; // mono, channels averaged
    int sampleRate = 0;
    qint64 durationMs = 0;
    QString error; // non-empty: the file is missing, unreadable or holds no sound (without the path)
};

class AudioDecoder final
{
public:
    // Reads the whole file.
    [[nodiscard]] static DecodedAudio decode(const QString &path);
    // Accepted file name extensions (lower case, without dot).
    [[nodiscard]] static bool isSupportedExtension(const QString &path);
};

} // namespace mvx
