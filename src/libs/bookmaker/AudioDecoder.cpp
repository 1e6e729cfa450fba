#include "AudioDecoder.h"

#include "libs/sentra/SilenceDetector.h"

#include <QFile>
#include <QFileInfo>
#include <sndfile.h>

namespace mvx {

bool AudioDecoder::isSupportedExtension(const QString &path)
{
    static const QStringList known = {QStringLiteral("mp3"), QStringLiteral("wav"), QStringLiteral("flac"),
                                      QStringLiteral("ogg"), QStringLiteral("oga")};
    return known.contains(QFileInfo(path).suffix().toLower());
}

DecodedAudio AudioDecoder::decode(const QString &path, const std::function<bool(int)> &progress)
{
    DecodedAudio out;
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        out.error = QStringLiteral("声音文件不存在");
        return out;
    }
    if (!isSupportedExtension(path)) {
        out.error = QStringLiteral("只支持 MP3、WAV、FLAC 和 OGG 声音文件");
        return out;
    }
    SF_INFO sfInfo{};
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &sfInfo);
    if (!file) {
        out.error = QStringLiteral("无法读取声音文件（%1）").arg(QString::fromLocal8Bit(sf_strerror(nullptr)));
        return out;
    }
    const int channels = std::max(1, sfInfo.channels);
    const int frameLen = SilenceDetector::frameSamples(sfInfo.samplerate);
    std::vector<float> block(size_t(4096) * size_t(channels));
    qint64 total = 0;
    double sum = 0;
    int inFrame = 0;
    int reported = -1;
    for (;;) {
        if (progress && sfInfo.frames > 0) {
            const int percent = int(std::min<qint64>(100, total * 100 / sfInfo.frames));
            if (percent != reported) {
                reported = percent;
                if (!progress(percent)) {
                    sf_close(file);
                    out = {};
                    out.cancelled = true;
                    out.error = QStringLiteral("已取消");
                    return out;
                }
            }
        }
        const sf_count_t got = sf_readf_float(file, block.data(), 4096);
        if (got <= 0)
            break;
        for (sf_count_t i = 0; i < got; ++i) {
            float mono = 0;
            for (int c = 0; c < channels; ++c)
                mono += block[size_t(i) * size_t(channels) + size_t(c)];
            mono /= float(channels);
            sum += double(mono) * double(mono);
            if (++inFrame == frameLen) {
                out.frameEnergies.push_back(sum / frameLen);
                sum = 0;
                inFrame = 0;
            }
        }
        total += got;
    }
    const int err = sf_error(file);
    sf_close(file);
    if (err != SF_ERR_NO_ERROR && total == 0) {
        out.error = QStringLiteral("声音文件已损坏，无法解码");
        return out;
    }
    out.sampleRate = sfInfo.samplerate;
    if (out.sampleRate <= 0 || total == 0) {
        out.error = QStringLiteral("声音文件里没有声音");
        out.frameEnergies.clear();
        return out;
    }
    out.durationMs = total * 1000 / out.sampleRate;
    out.frameMs = frameLen * 1000.0 / out.sampleRate;
    return out;
}

} // namespace mvx
