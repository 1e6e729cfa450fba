#include "WaveSegment.h"

#include "core/Helpers.h"

#include <QFile>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace mvx::WaveSegment {

namespace {

bool Fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

qint64 FrameAt(qint64 ms, int sampleRate)
{
    return qint64(std::llround(double(ms) * sampleRate / 1000.0));
}

bool Extract(const QString &source, const QString &target, qint64 startMs, qint64 endMs, QString *error)
{
    SF_INFO in{};
    SNDFILE *src = sf_open(QFile::encodeName(ToFsPath(source)).constData(), SFM_READ, &in);
    if (!src)
        return Fail(error, QStringLiteral("not a readable sound: %1").arg(source));
    const qint64 first = std::clamp<qint64>(FrameAt(startMs, in.samplerate), 0, in.frames);
    const qint64 last = std::clamp<qint64>(FrameAt(endMs, in.samplerate), 0, in.frames);
    if (last <= first || in.seekable == 0) {
        sf_close(src);
        return Fail(error, QStringLiteral("empty stretch"));
    }
    SF_INFO out{};
    out.samplerate = in.samplerate;
    out.channels = in.channels;
    out.format = in.format;
    const QString fsTarget = ToFsPath(target);
    if (fsTarget.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive)
        && (in.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_WAV) {
        out.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    }
    if (!sf_format_check(&out))
        out.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    const QString temp = fsTarget + QStringLiteral(".part");
    SNDFILE *dst = sf_open(QFile::encodeName(temp).constData(), SFM_WRITE, &out);
    if (!dst) {
        sf_close(src);
        return Fail(error, QStringLiteral("cannot write %1").arg(target));
    }
    bool ok = sf_seek(src, first, SEEK_SET) == first;
    // Integer samples copy 16-bit PCM unchanged; floats for wider or float sources.
    const bool asShort = (in.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_16
                         || (in.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_S8
                         || (in.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_U8;
    constexpr sf_count_t Block = 8192;
    std::vector<short> shorts(asShort ? size_t(Block * in.channels) : 0);
    std::vector<double> doubles(asShort ? 0 : size_t(Block * in.channels));
    for (qint64 left = last - first; ok && left > 0;) {
        const sf_count_t want = std::min<qint64>(left, Block);
        const sf_count_t got = asShort ? sf_readf_short(src, shorts.data(), want)
                                       : sf_readf_double(src, doubles.data(), want);
        if (got <= 0) {
            ok = false;
            break;
        }
        const sf_count_t put = asShort ? sf_writef_short(dst, shorts.data(), got)
                                       : sf_writef_double(dst, doubles.data(), got);
        ok = put == got;
        left -= got;
    }
    sf_close(src);
    ok = (sf_close(dst) == 0) && ok;
    if (ok) {
        QFile::remove(fsTarget);
        ok = QFile::rename(temp, fsTarget);
    }
    if (!ok) {
        QFile::remove(temp);
        return Fail(error, QStringLiteral("cannot write %1").arg(target));
    }
    return true;
}

} // namespace mvx::WaveSegment
