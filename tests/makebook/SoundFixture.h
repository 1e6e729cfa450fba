#pragma once
// Speech-like test sound: sentences made of tone "syllables" with short gaps between them,
// separated by the pauses the test asks for, over an optional noise floor; written with
// libsndfile as WAV, MP3, FLAC or OGG.
#include <QFile>
#include <QString>
#include <cmath>
#include <random>
#include <sndfile.h>
#include <utility>
#include <vector>

namespace fixture {

struct Speech
{
    std::vector<float> samples;
    int rate = 22050;
    std::vector<std::pair<qint64, qint64>> pauses; // [start, end) ms of each pause between sentences
    std::vector<std::pair<qint64, qint64>> speech; // [start, end) ms of each sentence's sound
};

// sentenceMs[i]: length of sentence i; pauseMs[i]: pause after sentence i (the last one is
// the trailing silence). innerGapMs: gaps between syllables inside a sentence.
inline Speech makeSpeech(const std::vector<int> &sentenceMs, const std::vector<int> &pauseMs, int leadMs = 200,
                         double noise = 0.0, int innerGapMs = 70, int rate = 22050)
{
    Speech s;
    s.rate = rate;
    std::mt19937 gen(42);
    std::normal_distribution<double> n(0.0, 1.0);
    auto silence = [&](int ms) {
        for (int i = 0; i < rate * ms / 1000; ++i)
            s.samples.push_back(float(noise * n(gen)));
    };
    auto ms = [&] { return qint64(s.samples.size()) * 1000 / rate; };
    silence(leadMs);
    for (size_t k = 0; k < sentenceMs.size(); ++k) {
        const qint64 begin = ms();
        int left = sentenceMs[k];
        int syllable = 0;
        while (left > 0) {
            const int len = std::min(left, 150 + 40 * (syllable % 3));
            for (int i = 0; i < rate * len / 1000; ++i) {
                const double t = double(i) / rate;
                const double env = std::sin(M_PI * t * 1000.0 / len);
                s.samples.push_back(float(0.5 * env * std::sin(2 * M_PI * (180 + 40 * syllable % 90) * t) + noise * n(gen)));
            }
            left -= len;
            if (left > innerGapMs) {
                silence(innerGapMs);
                left -= innerGapMs;
            }
            ++syllable;
        }
        s.speech.emplace_back(begin, ms());
        const qint64 pauseStart = ms();
        silence(pauseMs[k]);
        if (k + 1 < sentenceMs.size())
            s.pauses.emplace_back(pauseStart, ms());
    }
    return s;
}

inline bool writeSound(const QString &path, const std::vector<float> &samples, int rate, int format)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = format;
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!f)
        return false;
    const sf_count_t n = sf_write_float(f, samples.data(), sf_count_t(samples.size()));
    sf_close(f);
    return n == sf_count_t(samples.size());
}

inline constexpr int Wav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
inline constexpr int Mp3 = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;

} // namespace fixture
