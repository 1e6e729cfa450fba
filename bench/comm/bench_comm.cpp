// Speed of the common library's hot paths: a warm synthesised word, making a digest of
// 10 s of sound, and drawing one 600-pixel waveform window.
#include "BenchUtil.h"
#include "comm/CommLib.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <sndfile.h>

#include <cmath>
#include <cstdio>

using namespace mvx;

namespace {

bool WriteTestSound(const QString &path, int seconds)
{
    SF_INFO info{};
    info.samplerate = 22050;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!f)
        return false;
    std::vector<short> s(size_t(22050) * size_t(seconds));
    for (size_t i = 0; i < s.size(); ++i) // speech-like: a tone under a slow swell
        s[i] = short(12000 * std::sin(i * 0.07) * std::fabs(std::sin(i * 0.0003)));
    sf_writef_short(f, s.data(), sf_count_t(s.size()));
    return sf_close(f) == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QTemporaryDir tmp;
    if (!tmp.isValid())
        return 1;

    // Warm text to speech: a word to its sound file ready.
    const int centre = vcSndCenter_Open(-1, 16, 22050, 1);
    if (!vcSndCenter_IsTtsAvailable(centre)) {
        std::fprintf(stderr, "bench_comm: text to speech unavailable\n");
        return 1;
    }
    QString voice = QStringLiteral("Microsoft Mary");
    vcSndCenter_SetTtsVoiceName(centre, voice);
    const QStringList words = {"ocean",   "plastic", "library", "village", "bicycle", "weather", "garden",
                               "student", "market",  "science", "history", "morning", "teacher", "animal",
                               "journey", "holiday", "kitchen", "station", "picture", "country"};
    std::vector<double> tts;
    int len = 0;
    for (const QString &w : words) {
        const double t0 = bench::nowMs();
        if (vcSndCenter_GetSndFile(centre, w, 0, tmp.filePath(QStringLiteral("word")), -1, -1, len, QString()) != 2)
            return 1;
        tts.push_back(bench::nowMs() - t0);
    }
    bench::figure("tts_word_ms", bench::median(tts), "ms");
    vcSndCenter_Close(centre);

    // Digest of 10 s of sound.
    const QString wav = tmp.filePath(QStringLiteral("ten.wav"));
    const QString digest = tmp.filePath(QStringLiteral("ten.dg"));
    if (!WriteTestSound(wav, 10))
        return 1;
    std::vector<double> make;
    for (int i = 0; i < 30; ++i) {
        const double t0 = bench::nowMs();
        if (vcMakeWaveDigestFile(wav, digest, 40) != 1)
            return 1;
        make.push_back(bench::nowMs() - t0);
    }
    bench::figure("digest_make_ms", bench::median(make), "ms");

    // One 600-pixel window at the default zoom, drawn onto a picture.
    const int handle = vcDigestFile_Open(digest);
    if (handle <= 0)
        return 1;
    QImage image(600, 120, QImage::Format_RGB32);
    std::vector<double> draw;
    for (int i = 0; i < 100; ++i) {
        image.fill(Qt::white);
        QPainter painter(&image);
        const double t0 = bench::nowMs();
        vcDigestFile_Draw(handle, &painter, 120, 600, (i % 10) * 100, 2, 40);
        draw.push_back(bench::nowMs() - t0);
    }
    bench::figure("digest_draw_ms", bench::median(draw), "ms");
    vcDigestFile_Close(handle);
    return 0;
}
