#include "LessonSound.h"

#include "Resampler.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace mvx::sentra {

// libsndfile's virtual I/O over the bytes held by the object.
struct MemoryIo
{
    using Memory = LessonSound::Memory;
    static Memory *mem(void *user) { return static_cast<Memory *>(user); }

    static sf_count_t length(void *user) { return mem(user)->bytes.size(); }
    static sf_count_t seek(sf_count_t offset, int whence, void *user)
    {
        Memory *m = mem(user);
        qint64 pos = offset;
        if (whence == SEEK_CUR)
            pos = m->pos + offset;
        else if (whence == SEEK_END)
            pos = m->bytes.size() + offset;
        if (pos < 0 || pos > m->bytes.size())
            return -1;
        m->pos = pos;
        return pos;
    }
    static sf_count_t read(void *ptr, sf_count_t count, void *user)
    {
        Memory *m = mem(user);
        const qint64 n = std::clamp<qint64>(m->bytes.size() - m->pos, 0, count);
        if (n > 0)
            std::memcpy(ptr, m->bytes.constData() + m->pos, size_t(n));
        m->pos += n;
        return n;
    }
    static sf_count_t write(const void *, sf_count_t, void *) { return 0; }
    static sf_count_t tell(void *user) { return mem(user)->pos; }
};

namespace {
SF_VIRTUAL_IO g_memoryIo = {MemoryIo::length, MemoryIo::seek, MemoryIo::read, MemoryIo::write,
                            MemoryIo::tell};
} // namespace

LessonSound::LessonSound(QByteArray bytes)
{
    m_mem.bytes = std::move(bytes);
    if (m_mem.bytes.isEmpty()) {
        m_error = QStringLiteral("the lesson has no sound");
        return;
    }
    SF_INFO info{};
    m_file = sf_open_virtual(&g_memoryIo, SFM_READ, &info, &m_mem);
    if (!m_file) {
        m_error = QStringLiteral("the lesson's sound cannot be decoded: %1")
                      .arg(QString::fromUtf8(sf_strerror(nullptr)));
        return;
    }
    if (info.samplerate <= 0 || info.channels <= 0 || info.frames < 0) {
        m_error = QStringLiteral("the lesson's sound has no usable format");
        sf_close(m_file);
        m_file = nullptr;
        return;
    }
    m_rate = info.samplerate;
    m_channels = info.channels;
    m_frames = info.frames;
    m_readPos = 0;
    m_isMpeg = (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG;
    m_resampler = std::make_unique<Resampler>(m_rate, OutRate);
}

LessonSound::~LessonSound()
{
    if (m_file)
        sf_close(m_file);
}

qint64 LessonSound::durationMs() const
{
    return m_rate > 0 ? m_frames * 1000 / m_rate : 0;
}

qint64 LessonSound::outIndex(qint64 ms)
{
    // round(ms * 22050 / 1000) = round(ms * 441 / 20), halves away from zero.
    const qint64 num = ms * 441;
    return num >= 0 ? (num + 10) / 20 : -((-num + 10) / 20);
}

bool LessonSound::readRaw(qint64 first, qint64 count, std::vector<float> &out)
{
    if (!m_file || first < 0 || count < 0 || first + count > m_frames)
        return false;
    out.resize(size_t(count * m_channels));
    if (count == 0)
        return true;
    if (m_readPos != first) {
        // An MP3 frame may take bits from the frames before it (the bit reservoir), so after a
        // seek the decoder starts a few frames early and the extra samples are dropped.
        const qint64 target = m_isMpeg ? std::max<qint64>(0, first - MpegPreroll) : first;
        if (sf_seek(m_file, target, SEEK_SET) != target) {
            m_readPos = -1;
            m_error = QStringLiteral("seeking in the lesson's sound failed");
            return false;
        }
        if (target < first) {
            m_preroll.resize(size_t((first - target) * m_channels));
            if (sf_readf_float(m_file, m_preroll.data(), first - target) != first - target) {
                m_readPos = -1;
                m_error = QStringLiteral("seeking in the lesson's sound failed");
                return false;
            }
        }
    }
    const sf_count_t got = sf_readf_float(m_file, out.data(), count);
    if (got < 0) {
        m_readPos = -1;
        return false;
    }
    m_readPos = first + got;
    if (got < count) // a stream shorter than its header said: the rest is silence
        std::fill(out.begin() + got * m_channels, out.end(), 0.0f);
    return true;
}

bool LessonSound::readMono(qint64 first, qint64 count, std::vector<float> &out)
{
    if (!m_file || count < 0)
        return false;
    out.resize(size_t(count));
    const qint64 end = first + count;
    const qint64 from = std::min(std::max<qint64>(first, 0), end);
    const qint64 to = std::max(std::min(end, m_frames), from);
    // Silence before the start and after the end of the sound.
    std::fill(out.begin(), out.begin() + (from - first), 0.0f);
    std::fill(out.begin() + (to - first), out.end(), 0.0f);
    if (to <= from)
        return true;
    if (!readRaw(from, to - from, m_raw))
        return false;
    float *dst = out.data() + (from - first);
    const qint64 n = to - from;
    if (m_channels == 1) {
        std::copy(m_raw.begin(), m_raw.begin() + n, dst);
    } else {
        const float scale = 1.0f / float(m_channels);
        const float *src = m_raw.data();
        for (qint64 i = 0; i < n; ++i) {
            float sum = 0;
            for (int c = 0; c < m_channels; ++c)
                sum += *src++;
            dst[i] = sum * scale;
        }
    }
    return true;
}

bool LessonSound::cut(qint64 startMs, qint64 endMs, std::vector<qint16> &out)
{
    if (!m_file || startMs < 0 || endMs < startMs || endMs > durationMs() + MaxOverrunMs) {
        m_error = QStringLiteral("the stretch %1-%2 ms lies outside the sound").arg(startMs).arg(endMs);
        return false;
    }
    const qint64 first = outIndex(startMs);
    const qint64 count = outIndex(endMs) - first;
    qint64 inFirst = 0, inCount = 0;
    m_resampler->inputRange(first, count, &inFirst, &inCount);
    if (!readMono(inFirst, inCount, m_mono))
        return false;
    m_resampled.resize(size_t(count));
    m_resampler->process(m_mono.data(), inFirst, first, count, m_resampled.data());
    out.resize(size_t(count));
    for (qint64 i = 0; i < count; ++i) {
        const float v = m_resampled[size_t(i)] * 32768.0f;
        out[size_t(i)] = qint16(std::lrint(std::clamp(v, -32768.0f, 32767.0f)));
    }
    return true;
}

} // namespace mvx::sentra
