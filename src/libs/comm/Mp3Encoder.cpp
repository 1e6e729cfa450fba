#include "Mp3Encoder.h"

#include "SoundIo.h"
#include "core/Helpers.h"

#include <QSaveFile>
#include <lame/lame.h>
#include <sndfile.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace mvx::Mp3Encoder {

namespace {

struct LameDeleter
{
    void operator()(lame_global_flags *g) const { lame_close(g); }
};
struct SndDeleter
{
    void operator()(SNDFILE *f) const { sf_close(f); }
};

bool Fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

bool Encode(const QString &sourceFile, const QString &mp3File, int kbps, QString *error)
{
    SF_INFO info{};
    std::unique_ptr<SNDFILE, SndDeleter> in(sf_open(SoundIo::FsName(sourceFile).constData(), SFM_READ, &info));
    if (!in || info.channels < 1 || info.samplerate < 1)
        return Fail(error, QStringLiteral("not a readable sound: %1").arg(sourceFile));
    const int outChannels = info.channels == 1 ? 1 : 2;

    std::unique_ptr<lame_global_flags, LameDeleter> lame(lame_init());
    if (!lame)
        return Fail(error, QStringLiteral("MP3 encoder unavailable"));
    lame_set_in_samplerate(lame.get(), info.samplerate);
    lame_set_num_channels(lame.get(), outChannels);
    lame_set_mode(lame.get(), outChannels == 1 ? MONO : JOINT_STEREO);
    lame_set_brate(lame.get(), std::clamp(kbps, 8, 320));
    lame_set_VBR(lame.get(), vbr_off);
    lame_set_quality(lame.get(), 5);
    if (lame_init_params(lame.get()) < 0)
        return Fail(error, QStringLiteral("MP3 encoder refused the format"));

    QSaveFile out(ToFsPath(mp3File));
    if (!out.open(QIODevice::WriteOnly))
        return Fail(error, QStringLiteral("cannot write %1").arg(mp3File));

    constexpr int Block = 8192;
    std::vector<float> frames(size_t(Block) * size_t(info.channels));
    std::vector<float> left(Block), right(Block);
    std::vector<unsigned char> mp3(size_t(Block) * 5 / 4 + 7200);
    for (;;) {
        const sf_count_t got = sf_readf_float(in.get(), frames.data(), Block);
        if (got <= 0)
            break;
        for (sf_count_t f = 0; f < got; ++f) {
            const float *frame = &frames[size_t(f) * size_t(info.channels)];
            left[size_t(f)] = frame[0];
            right[size_t(f)] = info.channels > 1 ? frame[1] : frame[0];
        }
        const int bytes = lame_encode_buffer_ieee_float(lame.get(), left.data(),
                                                        outChannels == 1 ? nullptr : right.data(), int(got),
                                                        mp3.data(), int(mp3.size()));
        if (bytes < 0)
            return Fail(error, QStringLiteral("MP3 encoding failed"));
        out.write(reinterpret_cast<const char *>(mp3.data()), bytes);
    }
    if (sf_error(in.get()) != SF_ERR_NO_ERROR)
        return Fail(error, QStringLiteral("damaged sound data in %1").arg(sourceFile));
    const int tail = lame_encode_flush(lame.get(), mp3.data(), int(mp3.size()));
    if (tail < 0)
        return Fail(error, QStringLiteral("MP3 encoding failed"));
    out.write(reinterpret_cast<const char *>(mp3.data()), tail);
    if (!out.commit())
        return Fail(error, QStringLiteral("cannot write %1").arg(mp3File));
    return true;
}

} // namespace mvx::Mp3Encoder
