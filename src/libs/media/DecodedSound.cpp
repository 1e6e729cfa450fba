#include "libs/media/DecodedSound.h"

#include "core/SoundSizing.h"

#include <QFile>
#include <QFileInfo>

#include <sndfile.h>

namespace mvx {

namespace {

QString tr(const char *text)
{
    return QString::fromUtf8(text);
}

// libsndfile wants a file descriptor or a path in the local 8-bit encoding; opening through
// a descriptor keeps Chinese and odd characters in paths working whatever the locale.
struct SndFileCloser {
    void operator()(SNDFILE *f) const { sf_close(f); }
};

} // namespace

std::shared_ptr<const DecodedSound> DecodedSound::load(const QString &path, QString *error)
{
    auto fail = [&](const QString &why) -> std::shared_ptr<const DecodedSound> {
        if (error)
            *error = why;
        return nullptr;
    };
    const QString name = QFileInfo(path).fileName().isEmpty() ? path : QFileInfo(path).fileName();
    QFileInfo info(path);
    if (path.isEmpty())
        return fail(tr("没有指定声音文件。"));
    if (!info.exists() || !info.isFile())
        return fail(tr("找不到声音文件：%1").arg(path));
    if (info.size() == 0)
        return fail(tr("声音文件是空的：%1").arg(name));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(tr("无法读取声音文件：%1").arg(name));

    SF_INFO sfInfo{};
    std::unique_ptr<SNDFILE, SndFileCloser> sf(sf_open_fd(file.handle(), SFM_READ, &sfInfo, 0));
    if (!sf)
        return fail(tr("不是能播放的声音文件：%1").arg(name));
    if (sfInfo.channels < 1 || sfInfo.samplerate < 1000 || sfInfo.samplerate > 384000)
        return fail(tr("声音文件的格式不受支持：%1").arg(name));

    const int fileChannels = sfInfo.channels;
    const int channels = fileChannels >= 2 ? 2 : 1;
    auto sound = std::make_shared<DecodedSound>();
    sound->m_channels = channels;
    sound->m_sampleRate = sfInfo.samplerate;

    // The frame count in the header may be missing or wrong for streams (MP3), and a damaged
    // file may claim any length; read in blocks.
    std::vector<float> block(size_t(4096) * fileChannels);
    std::vector<float> &out = sound->m_samples;
    out.reserve(size_t(FramesWorthReserving(sfInfo.frames, fileChannels, info.size())) * channels);
    for (;;) {
        const sf_count_t got = sf_readf_float(sf.get(), block.data(), 4096);
        if (got <= 0)
            break;
        if (fileChannels == channels) {
            out.insert(out.end(), block.begin(), block.begin() + got * fileChannels);
        } else {
            // More than two channels: odd ones to the left, even ones to the right.
            for (sf_count_t f = 0; f < got; ++f) {
                float l = 0, r = 0;
                int nl = 0, nr = 0;
                for (int c = 0; c < fileChannels; ++c) {
                    const float v = block[size_t(f * fileChannels + c)];
                    if (c % 2 == 0) { l += v; ++nl; } else { r += v; ++nr; }
                }
                out.push_back(l / nl);
                out.push_back(r / nr);
            }
        }
    }
    if (sf_error(sf.get()) != SF_ERR_NO_ERROR && out.empty())
        return fail(tr("声音文件已损坏，无法读取：%1").arg(name));
    sound->m_frames = (long long)(out.size() / size_t(channels));
    if (sound->m_frames == 0)
        return fail(tr("声音文件里没有声音：%1").arg(name));
    return sound;
}

std::shared_ptr<const DecodedSound> DecodedSound::fromSamples(std::vector<float> samples, int channels,
                                                              int sampleRate)
{
    auto sound = std::make_shared<DecodedSound>();
    sound->m_channels = channels >= 2 ? 2 : 1;
    sound->m_sampleRate = sampleRate > 0 ? sampleRate : 22050;
    sound->m_samples = std::move(samples);
    sound->m_frames = (long long)(sound->m_samples.size() / size_t(sound->m_channels));
    sound->m_samples.resize(size_t(sound->m_frames) * sound->m_channels);
    return sound;
}

} // namespace mvx
