#pragma once
// A waveform digest: the peaks of a sound, kept per short bucket of samples, so the
// waveform can be drawn at any zoom without the sound. This class holds the peak maths
// (sound to peaks) and the digest file; DigestRenderer turns peaks into a picture.
//
// Digest file format (little-endian):
//   0  8 bytes  "MVXDIGST"
//   8  u32      version (1)
//   12 u32      sample rate of the sound
//   16 u32      frames per bucket (about 1 ms of sound)
//   20 u32      step in ms the caller asked for (recorded only)
//   24 u64      total frames of the sound
//   32 u32      bucket count = ceil(total frames / frames per bucket)
//   36 u32      peak: the largest absolute sample (0..32768)
//   40 ...      bucket count pairs of i16 (min, max), bucket i covering frames
//               [i * frames per bucket, (i + 1) * frames per bucket)
#include <QString>
#include <QVector>

namespace mvx {

struct PeakPair
{
    qint16 min = 0;
    qint16 max = 0;
    bool valid = false; // false for a stretch with no sound (outside the sound)
};

class WaveDigest final
{
public:
    static constexpr int BucketMs = 1; // finer than any pixel: a pixel is at least 20 ms

    // The peaks of mono samples.
    [[nodiscard]] static WaveDigest FromSamples(const QVector<qint16> &samples, int sampleRate, int stepMs);

    bool save(const QString &path) const; // through a temporary file renamed into place
    // False for a missing file or one that is not a consistent digest.
    bool load(const QString &path);

    // Min and max over the buckets that start within the frames [first, last) (the bucket
    // holding first when none does); invalid when the stretch lies outside the sound.
    [[nodiscard]] PeakPair range(qint64 firstFrame, qint64 lastFrame) const;
    // Frame at a time, for the caller's window arithmetic.
    [[nodiscard]] qint64 frameAt(qint64 ms) const { return ms * m_sampleRate / 1000; }

    [[nodiscard]] bool isValid() const { return m_sampleRate > 0 && m_bucketFrames > 0; }
    [[nodiscard]] int sampleRate() const { return m_sampleRate; }
    [[nodiscard]] int bucketFrames() const { return m_bucketFrames; }
    [[nodiscard]] int stepMs() const { return m_stepMs; }
    [[nodiscard]] qint64 totalFrames() const { return m_totalFrames; }
    [[nodiscard]] qint64 lengthMs() const { return m_sampleRate ? m_totalFrames * 1000 / m_sampleRate : 0; }
    [[nodiscard]] int peak() const { return m_peak; }
    [[nodiscard]] const QVector<qint16> &minima() const { return m_min; }
    [[nodiscard]] const QVector<qint16> &maxima() const { return m_max; }

private:
    int m_sampleRate = 0;
    int m_bucketFrames = 0;
    int m_stepMs = 0;
    qint64 m_totalFrames = 0;
    int m_peak = 0;
    QVector<qint16> m_min;
    QVector<qint16> m_max;
};

} // namespace mvx
