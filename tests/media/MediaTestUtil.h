#pragma once
// Test sounds written with libsndfile, and small measurements of rendered sound.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace mediatest {

// Pseudo-random noise: any 32-sample window appears once, so a run of output can be found
// in the source exactly. Values are whole 16-bit steps, so WAV round trips are exact.
inline std::vector<float> noise(long frames, uint32_t seed = 12345)
{
    std::vector<float> out(static_cast<size_t>(frames));
    uint32_t x = seed;
    for (auto &v : out) {
        x = x * 1664525u + 1013904223u;
        v = float(int16_t(int((x >> 16) & 0xFFFF) - 32768) / 2) / 32768.0f;
    }
    return out;
}

// Consecutive tones of `segment` seconds each, at the given frequencies.
inline std::vector<float> toneSteps(int sampleRate, const std::vector<double> &freqs, double segment)
{
    std::vector<float> out;
    const long per = long(segment * sampleRate);
    double phase = 0;
    for (double f : freqs) {
        for (long i = 0; i < per; ++i) {
            out.push_back(float(0.5 * std::sin(phase)));
            phase += 2 * M_PI * f / sampleRate;
        }
    }
    return out;
}

inline bool writeSound(const QString &path, const std::vector<float> &samples, int sampleRate,
                       int channels = 1, int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16)
{
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = format;
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!f)
        return false;
    const sf_count_t frames = sf_count_t(samples.size()) / channels;
    const bool ok = sf_writef_float(f, samples.data(), frames) == frames;
    sf_close(f);
    return ok;
}

inline std::vector<float> readSound(const QString &path, int *channels = nullptr)
{
    SF_INFO info{};
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!f)
        return {};
    std::vector<float> out(size_t(info.frames * info.channels));
    sf_readf_float(f, out.data(), info.frames);
    sf_close(f);
    if (channels)
        *channels = info.channels;
    return out;
}

// Left channel of interleaved stereo.
inline std::vector<float> leftOf(const std::vector<float> &stereo)
{
    std::vector<float> out(stereo.size() / 2);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = stereo[2 * i];
    return out;
}

// Frequency of a tone from its rising zero crossings over [from, from + n).
inline double toneFrequency(const std::vector<float> &s, size_t from, size_t n, int sampleRate)
{
    int crossings = 0;
    size_t first = 0, last = 0;
    for (size_t i = from + 1; i < from + n && i < s.size(); ++i) {
        if (s[i - 1] < 0 && s[i] >= 0) {
            if (crossings == 0)
                first = i;
            last = i;
            ++crossings;
        }
    }
    if (crossings < 2)
        return 0;
    return double(crossings - 1) * sampleRate / double(last - first);
}

// Splits a tone-step signal into runs: each 10 ms window (measured over 20 ms) is matched to
// the nearest of the expected frequencies (within 4%); windows of silence or of a mix at a
// step are skipped, and a stray run shorter than 30 ms (a splice of the stretcher) is dropped
// so the runs on either side join. Each run: {index into freqs, length in frames}.
struct ToneRun {
    int tone;
    long frames;
};
inline std::vector<ToneRun> toneRuns(const std::vector<float> &s, int sampleRate,
                                     const std::vector<double> &freqs)
{
    std::vector<ToneRun> runs;
    const size_t win = size_t(sampleRate / 100);
    for (size_t at = 0; at + 2 * win <= s.size(); at += win) {
        float peak = 0;
        for (size_t i = at; i < at + win; ++i)
            peak = std::max(peak, std::abs(s[i]));
        if (peak < 0.05f)
            continue;
        const double f = toneFrequency(s, at, 2 * win, sampleRate);
        int tone = -1;
        for (size_t k = 0; k < freqs.size(); ++k) {
            if (std::abs(f - freqs[k]) / freqs[k] < 0.04)
                tone = int(k);
        }
        if (tone < 0)
            continue;
        if (!runs.empty() && runs.back().tone == tone)
            runs.back().frames += long(win);
        else
            runs.push_back({tone, long(win)});
    }
    std::vector<ToneRun> joined;
    for (const ToneRun &run : runs) {
        if (run.frames < 3 * long(win))
            continue;
        if (!joined.empty() && joined.back().tone == run.tone)
            joined.back().frames += run.frames;
        else
            joined.push_back(run);
    }
    return joined;
}

} // namespace mediatest
