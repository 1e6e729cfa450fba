#include "libs/media/SoundRecorder.h"

#include <QFile>
#include <QSaveFile>

#include <SDL.h>
#include <sndfile.h>

namespace mvx {

SoundRecorder::SoundRecorder() = default;

SoundRecorder::~SoundRecorder()
{
    stop();
    if (m_sdlStarted)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SoundRecorder::start()
{
    stop();
    {
        const std::lock_guard lock(m_mutex);
        m_samples.clear();
    }
    m_error.clear();
    if (!m_sdlStarted) {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            m_error = QStringLiteral("无法录音：%1").arg(QString::fromUtf8(SDL_GetError()));
            return false;
        }
        m_sdlStarted = true;
    }
    SDL_AudioSpec want{};
    SDL_AudioSpec have{};
    want.freq = kRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 1024;
    want.callback = &SoundRecorder::callback;
    want.userdata = this;
    // SDL converts whatever the device gives to this format.
    m_device = SDL_OpenAudioDevice(nullptr, 1, &want, &have, 0);
    if (m_device == 0) {
        m_error = QStringLiteral("无法录音：没有可用的录音设备（%1）").arg(QString::fromUtf8(SDL_GetError()));
        return false;
    }
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

void SoundRecorder::stop()
{
    if (m_device == 0)
        return;
    SDL_CloseAudioDevice(m_device); // waits for a running callback
    m_device = 0;
}

void SoundRecorder::callback(void *userdata, unsigned char *stream, int len)
{
    auto *self = static_cast<SoundRecorder *>(userdata);
    const auto *in = reinterpret_cast<const qint16 *>(stream);
    const size_t n = size_t(len) / sizeof(qint16);
    const std::lock_guard lock(self->m_mutex);
    const size_t room = size_t(kRate) * kMaxSeconds - std::min(self->m_samples.size(), size_t(kRate) * kMaxSeconds);
    self->m_samples.insert(self->m_samples.end(), in, in + std::min(n, room));
}

std::vector<qint16> SoundRecorder::samples() const
{
    const std::lock_guard lock(m_mutex);
    return m_samples;
}

bool SoundRecorder::writeWav(const QString &path) const
{
    const std::vector<qint16> data = samples();
    if (data.empty())
        return false;
    // Written beside the target and moved over it, so a reader never sees half a file.
    const QString part = path + QStringLiteral(".part");
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE *f = sf_open(QFile::encodeName(part).constData(), SFM_WRITE, &info);
    if (!f)
        return false;
    const bool ok = sf_write_short(f, data.data(), sf_count_t(data.size())) == sf_count_t(data.size());
    sf_close(f);
    if (!ok) {
        QFile::remove(part);
        return false;
    }
    QFile::remove(path);
    return QFile::rename(part, path);
}

} // namespace mvx
