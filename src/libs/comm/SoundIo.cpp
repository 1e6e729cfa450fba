#include "SoundIo.h"

#include "core/Helpers.h"
#include "core/SoundSizing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sndfile.h>

#include <algorithm>
#include <cmath>

namespace mvx::SoundIo {

QByteArray FsName(const QString &path)
{
    return QFile::encodeName(ToFsPath(path));
}

bool ReadMono(const QString &path, MonoSound &out, QString *error)
{
    out = {};
    SF_INFO info{};
    SNDFILE *file = sf_open(FsName(path).constData(), SFM_READ, &info);
    if (!file) {
        if (error)
            *error = QString::fromUtf8(sf_strerror(nullptr));
        return false;
    }
    if (info.channels < 1 || info.samplerate < 1 || info.frames < 0) {
        sf_close(file);
        if (error)
            *error = QStringLiteral("not a usable sound");
        return false;
    }
    out.sampleRate = info.samplerate;
    // The header's length only sizes a buffer when the file could hold that much sound.
    const qint64 reserve = FramesWorthReserving(info.frames, info.channels, QFileInfo(ToFsPath(path)).size());
    if (info.channels == 1 && reserve > 0) {
        // Mono: straight into the sample array.
        out.samples.resize(qsizetype(info.frames));
        const sf_count_t got = sf_readf_short(file, out.samples.data(), info.frames);
        const int err = sf_error(file);
        sf_close(file);
        if (got < 0 || err != SF_ERR_NO_ERROR) {
            if (error)
                *error = QStringLiteral("damaged sound data");
            out = {};
            return false;
        }
        out.samples.resize(qsizetype(got));
        return true;
    }
    // Float reading keeps headroom while channels are summed.
    sf_command(file, SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);
    const int channels = info.channels;
    std::vector<float> block(size_t(4096) * size_t(channels));
    out.samples.reserve(qsizetype(reserve));
    for (;;) {
        const sf_count_t got = sf_readf_float(file, block.data(), 4096);
        if (got <= 0)
            break;
        for (sf_count_t f = 0; f < got; ++f) {
            float sum = 0;
            for (int c = 0; c < channels; ++c)
                sum += block[size_t(f) * size_t(channels) + size_t(c)];
            const float v = std::clamp(sum / float(channels), -1.0f, 1.0f);
            out.samples.append(qint16(std::lround(v * 32767.0f)));
        }
    }
    const int err = sf_error(file);
    sf_close(file);
    if (err != SF_ERR_NO_ERROR) {
        if (error)
            *error = QStringLiteral("damaged sound data");
        out = {};
        return false;
    }
    return true;
}

bool WriteWav16(const QString &path, const QVector<qint16> &mono, int sampleRate, int channels, QString *error)
{
    if (sampleRate < 1 || channels < 1) {
        if (error)
            *error = QStringLiteral("bad sound format");
        return false;
    }
    const QString target = ToFsPath(path);
    const QString temp = target + QStringLiteral(".part");
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE *file = sf_open(QFile::encodeName(temp).constData(), SFM_WRITE, &info);
    if (!file) {
        if (error)
            *error = QString::fromUtf8(sf_strerror(nullptr));
        return false;
    }
    bool ok = true;
    if (channels == 1) {
        ok = sf_writef_short(file, mono.constData(), mono.size()) == mono.size();
    } else {
        std::vector<short> frames(size_t(mono.size()) * size_t(channels));
        for (qsizetype i = 0; i < mono.size(); ++i)
            for (int c = 0; c < channels; ++c)
                frames[size_t(i) * size_t(channels) + size_t(c)] = mono[i];
        ok = sf_writef_short(file, frames.data(), mono.size()) == mono.size();
    }
    ok = (sf_close(file) == 0) && ok;
    if (ok) {
        QFile::remove(target);
        ok = QFile::rename(temp, target);
    }
    if (!ok) {
        QFile::remove(temp);
        if (error)
            *error = QStringLiteral("cannot write %1").arg(target);
    }
    return ok;
}

QVector<qint16> Resample(const QVector<qint16> &in, int fromRate, int toRate)
{
    if (fromRate == toRate || fromRate < 1 || toRate < 1 || in.isEmpty())
        return in;
    const double ratio = double(fromRate) / double(toRate);
    const qsizetype outCount = qsizetype(std::floor(double(in.size()) / ratio));
    QVector<qint16> out(outCount);
    const int span = ratio > 1 ? int(std::ceil(ratio)) : 1; // averaging window when shrinking
    for (qsizetype i = 0; i < outCount; ++i) {
        const double pos = double(i) * ratio;
        const qsizetype k = qsizetype(pos);
        double v;
        if (span > 1) {
            double sum = 0;
            int n = 0;
            for (qsizetype j = k; j < k + span && j < in.size(); ++j, ++n)
                sum += in[j];
            v = n ? sum / n : 0;
        } else {
            const double frac = pos - double(k);
            const double a = in[k];
            const double b = k + 1 < in.size() ? in[k + 1] : a;
            v = a + (b - a) * frac;
        }
        out[i] = qint16(std::clamp(std::lround(v), -32768L, 32767L));
    }
    return out;
}

bool IsWav16(const QString &path, int sampleRate, int channels, qint64 *frames)
{
    SF_INFO info{};
    SNDFILE *file = sf_open(FsName(path).constData(), SFM_READ, &info);
    if (!file)
        return false;
    sf_close(file);
    if (frames)
        *frames = info.frames;
    return (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV && (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_16
           && info.samplerate == sampleRate && info.channels == channels;
}

} // namespace mvx::SoundIo
