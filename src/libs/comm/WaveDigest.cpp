#include "WaveDigest.h"

#include "core/Helpers.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>

namespace mvx {

namespace {

constexpr char Magic[8] = {'M', 'V', 'X', 'D', 'I', 'G', 'S', 'T'};
constexpr int HeaderSize = 40;

} // namespace

WaveDigest WaveDigest::FromSamples(const QVector<qint16> &samples, int sampleRate, int stepMs)
{
    WaveDigest d;
    if (sampleRate < 1)
        return d;
    d.m_sampleRate = sampleRate;
    d.m_bucketFrames = std::max(1, int(qint64(sampleRate) * BucketMs / 1000));
    d.m_stepMs = stepMs;
    d.m_totalFrames = samples.size();
    const qsizetype buckets = (samples.size() + d.m_bucketFrames - 1) / d.m_bucketFrames;
    d.m_min.resize(buckets);
    d.m_max.resize(buckets);
    const qint16 *p = samples.constData();
    int peak = 0;
    for (qsizetype b = 0; b < buckets; ++b) {
        const qsizetype begin = b * d.m_bucketFrames;
        const qsizetype end = std::min<qsizetype>(begin + d.m_bucketFrames, samples.size());
        qint16 lo = p[begin];
        qint16 hi = p[begin];
        for (qsizetype i = begin + 1; i < end; ++i) {
            lo = std::min(lo, p[i]);
            hi = std::max(hi, p[i]);
        }
        d.m_min[b] = lo;
        d.m_max[b] = hi;
        peak = std::max({peak, std::abs(int(lo)), std::abs(int(hi))});
    }
    d.m_peak = peak;
    return d;
}

bool WaveDigest::save(const QString &path) const
{
    if (!isValid())
        return false;
    QByteArray bytes(HeaderSize + m_min.size() * 4, Qt::Uninitialized);
    char *p = bytes.data();
    std::copy(std::begin(Magic), std::end(Magic), p);
    qToLittleEndian<quint32>(1, p + 8);
    qToLittleEndian<quint32>(quint32(m_sampleRate), p + 12);
    qToLittleEndian<quint32>(quint32(m_bucketFrames), p + 16);
    qToLittleEndian<quint32>(quint32(std::max(0, m_stepMs)), p + 20);
    qToLittleEndian<quint64>(quint64(m_totalFrames), p + 24);
    qToLittleEndian<quint32>(quint32(m_min.size()), p + 32);
    qToLittleEndian<quint32>(quint32(m_peak), p + 36);
    char *q = p + HeaderSize;
    for (qsizetype i = 0; i < m_min.size(); ++i, q += 4) {
        qToLittleEndian<qint16>(m_min[i], q);
        qToLittleEndian<qint16>(m_max[i], q + 2);
    }
    // Written beside and renamed into place: a reader never sees half a digest. No sync to
    // disk: a digest is a working file made again for every sentence.
    const QString target = ToFsPath(path);
    const QString temp = target + QStringLiteral(".part");
    QFile file(temp);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = file.write(bytes) == bytes.size();
    file.close();
    if (!written || file.error() != QFileDevice::NoError || !(QFile::remove(target) || !QFile::exists(target))
        || !QFile::rename(temp, target)) {
        QFile::remove(temp);
        return false;
    }
    return true;
}

bool WaveDigest::load(const QString &path)
{
    *this = {};
    QFile file(ToFsPath(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() < HeaderSize || file.size() > (qint64(1) << 31))
        return false;
    const QByteArray bytes = file.readAll();
    const char *p = bytes.constData();
    if (!std::equal(std::begin(Magic), std::end(Magic), p) || qFromLittleEndian<quint32>(p + 8) != 1)
        return false;
    const quint32 rate = qFromLittleEndian<quint32>(p + 12);
    const quint32 bucketFrames = qFromLittleEndian<quint32>(p + 16);
    const quint64 frames = qFromLittleEndian<quint64>(p + 24);
    const quint32 buckets = qFromLittleEndian<quint32>(p + 32);
    const quint32 peak = qFromLittleEndian<quint32>(p + 36);
    if (rate == 0 || rate > 1000000 || bucketFrames == 0 || bucketFrames > rate || peak > 32768
        || qint64(bytes.size()) != HeaderSize + qint64(buckets) * 4
        || quint64(buckets) != (frames + bucketFrames - 1) / bucketFrames)
        return false;
    m_sampleRate = int(rate);
    m_bucketFrames = int(bucketFrames);
    m_stepMs = int(qFromLittleEndian<quint32>(p + 20));
    m_totalFrames = qint64(frames);
    m_peak = int(peak);
    m_min.resize(buckets);
    m_max.resize(buckets);
    const char *q = p + HeaderSize;
    for (quint32 i = 0; i < buckets; ++i, q += 4) {
        m_min[i] = qFromLittleEndian<qint16>(q);
        m_max[i] = qFromLittleEndian<qint16>(q + 2);
    }
    return true;
}

PeakPair WaveDigest::range(qint64 firstFrame, qint64 lastFrame) const
{
    PeakPair pair;
    firstFrame = std::max<qint64>(0, firstFrame);
    lastFrame = std::min(lastFrame, m_totalFrames);
    if (!isValid() || firstFrame >= lastFrame)
        return pair;
    // Each bucket counts for the stretch it starts in, so neighbouring pixel columns never
    // share one; a stretch shorter than a bucket takes the bucket it lies in.
    qint64 b0 = (firstFrame + m_bucketFrames - 1) / m_bucketFrames;
    qint64 b1 = std::min<qint64>((lastFrame + m_bucketFrames - 1) / m_bucketFrames - 1, m_min.size() - 1);
    if (b0 > b1)
        b0 = b1 = firstFrame / m_bucketFrames;
    pair.min = m_min[b0];
    pair.max = m_max[b0];
    for (qint64 b = b0 + 1; b <= b1; ++b) {
        pair.min = std::min(pair.min, m_min[b]);
        pair.max = std::max(pair.max, m_max[b]);
    }
    pair.valid = true;
    return pair;
}

} // namespace mvx
