#include "SoundFiles.h"

#include "core/SoundSizing.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <lame/lame.h>
#include <sndfile.h>

#include <cstdio>
#include <cstring>

namespace mvx::sentra {

namespace {

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

QString partName(const QString &path)
{
    return path + QStringLiteral(".part");
}

bool replaceWith(const QString &part, const QString &path, QString *error)
{
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(path).constData())
        != 0) {
        QFile::remove(part);
        setError(error, QStringLiteral("cannot write %1").arg(path));
        return false;
    }
    return true;
}

} // namespace

bool SoundFiles::writeWav(const QString &path, const std::vector<qint16> &samples, int rate,
                          QString *error)
{
    const QString part = partName(path);
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE *f = sf_open(QFile::encodeName(part).constData(), SFM_WRITE, &info);
    if (!f) {
        setError(error, QStringLiteral("cannot write %1: %2")
                            .arg(path, QString::fromUtf8(sf_strerror(nullptr))));
        return false;
    }
    const sf_count_t n = sf_count_t(samples.size());
    const bool ok = sf_write_short(f, samples.data(), n) == n;
    if (sf_close(f) != 0 || !ok) {
        QFile::remove(part);
        setError(error, QStringLiteral("cannot write %1").arg(path));
        return false;
    }
    return replaceWith(part, path, error);
}

bool SoundFiles::writeMp3(const QString &path, const std::vector<qint16> &samples, int rate,
                          int kbps, QString *error)
{
    QByteArray mp3;
    if (!encodeMp3(samples, rate, kbps, mp3, error))
        return false;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(mp3) != mp3.size() || !out.commit()) {
        setError(error, QStringLiteral("cannot write %1").arg(path));
        return false;
    }
    return true;
}

bool SoundFiles::encodeMp3(const std::vector<qint16> &samples, int rate, int kbps, QByteArray &mp3,
                           QString *error)
{
    lame_global_flags *lame = lame_init();
    if (!lame) {
        setError(error, QStringLiteral("the MP3 encoder cannot start"));
        return false;
    }
    lame_set_in_samplerate(lame, rate);
    lame_set_out_samplerate(lame, rate);
    lame_set_num_channels(lame, 1);
    lame_set_mode(lame, MONO);
    lame_set_VBR(lame, vbr_off);
    lame_set_brate(lame, kbps);
    lame_set_quality(lame, 5);
    lame_set_bWriteVbrTag(lame, 1);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        setError(error, QStringLiteral("the MP3 encoder refuses %1 Hz at %2 kbit/s").arg(rate).arg(kbps));
        return false;
    }
    mp3.clear();
    mp3.reserve(qsizetype(samples.size() * kbps / 8 / qMax(rate / 1000, 1) + 8192));
    const int chunk = 8192;
    std::vector<unsigned char> buf(size_t(1.25 * chunk + 7200));
    bool ok = true;
    for (size_t at = 0; at < samples.size() && ok; at += chunk) {
        const int n = int(std::min<size_t>(chunk, samples.size() - at));
        // LAME's mono input takes the same buffer for both channels.
        auto *pcm = const_cast<short *>(reinterpret_cast<const short *>(samples.data() + at));
        const int got = lame_encode_buffer(lame, pcm, pcm, n, buf.data(), int(buf.size()));
        if (got < 0)
            ok = false;
        else
            mp3.append(reinterpret_cast<const char *>(buf.data()), got);
    }
    if (ok) {
        const int got = lame_encode_flush(lame, buf.data(), int(buf.size()));
        if (got < 0)
            ok = false;
        else
            mp3.append(reinterpret_cast<const char *>(buf.data()), got);
    }
    if (ok) {
        // The Info tag (first frame) carries the exact length and the encoder's delay.
        const size_t tagSize = lame_get_lametag_frame(lame, buf.data(), buf.size());
        if (tagSize > 0 && tagSize <= buf.size() && size_t(mp3.size()) >= tagSize)
            std::memcpy(mp3.data(), buf.data(), tagSize);
    }
    lame_close(lame);
    if (!ok) {
        setError(error, QStringLiteral("MP3 encoding failed"));
        return false;
    }
    return true;
}

bool SoundFiles::readMono16(const QString &path, std::vector<qint16> &samples, int *rate,
                            QString *error)
{
    samples.clear();
    SF_INFO info{};
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!f || info.channels <= 0) {
        if (f)
            sf_close(f);
        setError(error, QStringLiteral("cannot read %1").arg(path));
        return false;
    }
    // Read in blocks: the header's length only sizes the buffer when the file could hold it.
    const int channels = info.channels;
    samples.reserve(size_t(FramesWorthReserving(info.frames, channels, QFileInfo(path).size())));
    std::vector<short> block(size_t(4096) * size_t(channels));
    sf_count_t got = 0;
    while ((got = sf_readf_short(f, block.data(), 4096)) > 0) {
        for (sf_count_t i = 0; i < got; ++i) {
            int sum = 0;
            for (int c = 0; c < channels; ++c)
                sum += block[size_t(i * channels + c)];
            samples.push_back(qint16(sum / channels));
        }
    }
    const int err = sf_error(f);
    sf_close(f);
    if (got < 0 || err != SF_ERR_NO_ERROR) {
        samples.clear();
        setError(error, QStringLiteral("cannot read %1").arg(path));
        return false;
    }
    if (rate)
        *rate = info.samplerate;
    return true;
}

bool SoundFiles::makeMp3FromWav(const QString &wavPath, const QString &mp3Path, int kbps,
                                QString *error)
{
    const QFileInfo wav(wavPath);
    const QFileInfo mp3(mp3Path);
    if (!wav.exists()) {
        setError(error, QStringLiteral("%1 does not exist").arg(wavPath));
        return false;
    }
    if (mp3.exists() && mp3.lastModified() >= wav.lastModified() && mp3.size() > 0)
        return true;
    std::vector<qint16> samples;
    int rate = 0;
    if (!readMono16(wavPath, samples, &rate, error))
        return false;
    return writeMp3(mp3Path, samples, rate, kbps, error);
}

} // namespace mvx::sentra
