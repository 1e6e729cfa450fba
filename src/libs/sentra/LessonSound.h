#pragma once
// A lesson's sound, decoded from the encoded file bytes kept in the book, cut into sentence
// sounds at 22050 Hz mono. The decoder stays open for the object's life, so consecutive cuts
// seek in the stream (MP3 seeking is sample-accurate in libsndfile/mpg123) instead of decoding
// from the start.
#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

struct sf_private_tag; // libsndfile's SNDFILE

namespace mvx::sentra {

class Resampler;

class LessonSound final
{
public:
    static constexpr int OutRate = 22050;
    // How far past the sound's end a stretch may run (as silence); cuts stop there.
    static constexpr qint64 MaxOverrunMs = 60000;

    // Opens the bytes (WAV, FLAC, OGG, MP3, ... whatever libsndfile reads); check isValid().
    explicit LessonSound(QByteArray bytes);
    ~LessonSound();
    LessonSound(const LessonSound &) = delete;
    LessonSound &operator=(const LessonSound &) = delete;

    [[nodiscard]] bool isValid() const { return m_file != nullptr; }
    [[nodiscard]] QString errorText() const { return m_error; }
    [[nodiscard]] int sampleRate() const { return m_rate; }
    [[nodiscard]] int channels() const { return m_channels; }
    [[nodiscard]] qint64 frames() const { return m_frames; }
    [[nodiscard]] qint64 durationMs() const;

    // Output sample index of a time: round(ms * 22050 / 1000).
    [[nodiscard]] static qint64 outIndex(qint64 ms);

    // Reads input frames [first, first + count) mixed to mono; zeros outside the sound.
    bool readMono(qint64 first, qint64 count, std::vector<float> &out);
    // Reads input frames [first, first + count) interleaved as decoded (no mixing); used to
    // measure the floor of a cut. Frames must lie inside the sound.
    bool readRaw(qint64 first, qint64 count, std::vector<float> &out);
    // The stretch [startMs, endMs) at 22050 Hz mono 16-bit, exactly
    // outIndex(endMs) - outIndex(startMs) samples; false for a stretch that ends more than
    // MaxOverrunMs after the sound.
    bool cut(qint64 startMs, qint64 endMs, std::vector<qint16> &out);

private:
    struct Memory
    {
        QByteArray bytes;
        qint64 pos = 0;
    };
    friend struct MemoryIo;
    Memory m_mem; // what the decoder reads through libsndfile's virtual I/O
    ::sf_private_tag *m_file = nullptr;
    int m_rate = 0;
    int m_channels = 0;
    qint64 m_frames = 0;
    qint64 m_readPos = -1; // the decoder's position, to skip needless seeks
    bool m_isMpeg = false;
    static constexpr qint64 MpegPreroll = 4 * 1152; // samples decoded and dropped after a seek
    QString m_error;
    std::unique_ptr<Resampler> m_resampler;
    std::vector<float> m_raw;
    std::vector<float> m_preroll;
    std::vector<float> m_mono;
    std::vector<float> m_resampled;
};

} // namespace mvx::sentra
