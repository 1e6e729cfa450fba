#pragma once
// Lessons for the excerpt tests: sounds of tone bursts at known times (speech) between
// exact silence, so where a clip may be padded is known to the frame.
#include "../sentra/SentraFixtures.h"
#include "player/excerpt/Padding.h"

#include <sndfile.h>

namespace excerptfix {

struct Burst
{
    int startMs;
    int endMs;
    double amplitude; // peak of the 440 Hz tone
};

// 22050 Hz mono 16-bit WAV bytes: the bursts over silence, lengthMs long.
inline QByteArray burstWav(const QList<Burst> &bursts, int lengthMs, int rate = 22050, int channels = 1,
                           int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16)
{
    static int serial = 0;
    const QString path = fixtures::tmpDir() + QStringLiteral("/bursts%1.snd").arg(++serial);
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!f)
        qFatal("cannot write a burst file: %s", sf_strerror(nullptr));
    const auto at = [rate](qint64 ms) { return (ms * rate + 500) / 1000; };
    std::vector<float> data(size_t(at(lengthMs) * channels), 0.0f);
    for (const Burst &b : bursts)
        for (qint64 i = at(b.startMs); i < at(b.endMs); ++i)
            for (int c = 0; c < channels; ++c)
                data[size_t(i * channels + c)] = float(b.amplitude * std::sin(2 * M_PI * 440.0 * double(i) / rate));
    sf_writef_float(f, data.data(), at(lengthMs));
    sf_close(f);
    return fixtures::takeFile(path);
}

// Decodes an MP3 (or any sound) file to mono 16-bit samples.
inline std::vector<qint16> decode(const QString &path, int *rate = nullptr)
{
    SF_INFO info{};
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!f)
        return {};
    std::vector<short> inter(size_t(info.frames * info.channels));
    const sf_count_t got = sf_readf_short(f, inter.data(), info.frames);
    sf_close(f);
    if (rate)
        *rate = info.samplerate;
    std::vector<qint16> mono(size_t(std::max<sf_count_t>(got, 0)));
    for (size_t i = 0; i < mono.size(); ++i)
        mono[i] = inter[i * size_t(info.channels)];
    return mono;
}

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace excerptfix
