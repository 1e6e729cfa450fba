#pragma once
// A sound file decoded into memory as interleaved float samples (one or two channels; files
// with more channels are mixed down to two). Immutable once loaded, so the output thread and
// the window thread can share it without locking.
#include <QString>

#include <memory>
#include <vector>

namespace mvx {

class DecodedSound final
{
public:
    // Reads a whole file with libsndfile. Returns null and sets *error (a message for the
    // learner, in Chinese, naming the file) when the file is missing, empty, not a sound
    // file or unreadable.
    static std::shared_ptr<const DecodedSound> load(const QString &path, QString *error);
    // Builds a sound from samples already in memory (tests, synthesised sounds).
    static std::shared_ptr<const DecodedSound> fromSamples(std::vector<float> samples, int channels,
                                                           int sampleRate);

    [[nodiscard]] int channels() const { return m_channels; }
    [[nodiscard]] int sampleRate() const { return m_sampleRate; }
    [[nodiscard]] long long frames() const { return m_frames; }
    [[nodiscard]] double duration() const { return double(m_frames) / m_sampleRate; }
    [[nodiscard]] const float *data() const { return m_samples.data(); }
    [[nodiscard]] const std::vector<float> &samples() const { return m_samples; }

private:
    std::vector<float> m_samples;
    long long m_frames = 0;
    int m_channels = 1;
    int m_sampleRate = 22050;
};

} // namespace mvx
