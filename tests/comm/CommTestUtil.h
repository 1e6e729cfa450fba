#pragma once
// Small helpers for the common library's tests: scratch folders and made-up sounds.
#include <QDir>
#include <QFile>
#include <QString>
#include <QVector>
#include <sndfile.h>

#include <cmath>

namespace commtest {

// A fresh scratch folder under MVX_TEST_TMP (or the system temp folder).
inline QString Scratch(const QString &name)
{
    const QString base = qEnvironmentVariableIsSet("MVX_TEST_TMP") ? qEnvironmentVariable("MVX_TEST_TMP")
                                                                      : QDir::tempPath() + QStringLiteral("/mvxcomm");
    QDir dir(base + QLatin1Char('/') + name);
    dir.removeRecursively();
    QDir().mkpath(dir.path());
    return dir.path();
}

// Writes interleaved 16-bit samples in the given container and rate.
inline bool WriteSound(const QString &path, const QVector<qint16> &interleaved, int rate, int channels,
                       int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!f)
        return false;
    const sf_count_t frames = interleaved.size() / channels;
    const bool ok = sf_writef_short(f, interleaved.constData(), frames) == frames;
    return sf_close(f) == 0 && ok;
}

// A tone of the given amplitude for ms milliseconds (mono).
inline QVector<qint16> Tone(int rate, int ms, int amplitude, double hz = 440)
{
    QVector<qint16> s(qsizetype(qint64(rate) * ms / 1000));
    for (qsizetype i = 0; i < s.size(); ++i)
        s[i] = qint16(std::lround(amplitude * std::sin(2 * M_PI * hz * double(i) / rate)));
    return s;
}

// Rewrites a FLAC file's STREAMINFO total sample count (36 bits from byte 21's low nibble),
// as a damaged or hostile header would claim any length.
inline bool ClaimFlacFrames(const QString &path, quint64 frames)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = f.readAll();
    if (bytes.size() < 26 || !bytes.startsWith("fLaC"))
        return false;
    bytes[21] = char((bytes[21] & 0xF0) | int((frames >> 32) & 0x0F));
    for (int i = 0; i < 4; ++i)
        bytes[22 + i] = char((frames >> (24 - 8 * i)) & 0xFF);
    return f.seek(0) && f.write(bytes) == bytes.size();
}

struct SoundInfo
{
    int rate = 0;
    int channels = 0;
    int format = 0;
    qint64 frames = 0;
};

inline SoundInfo Probe(const QString &path)
{
    SF_INFO info{};
    SoundInfo r;
    if (SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info)) {
        r = {info.samplerate, info.channels, info.format, info.frames};
        sf_close(f);
    }
    return r;
}

inline QVector<qint16> ReadAll(const QString &path, int *channels = nullptr)
{
    SF_INFO info{};
    QVector<qint16> out;
    if (SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info)) {
        out.resize(qsizetype(info.frames * info.channels));
        out.resize(qsizetype(sf_readf_short(f, out.data(), info.frames) * info.channels));
        sf_close(f);
    }
    if (channels)
        *channels = info.channels;
    return out;
}

} // namespace commtest
