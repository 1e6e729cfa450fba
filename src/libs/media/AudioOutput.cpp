#include "libs/media/AudioOutput.h"

#include "libs/media/Voice.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace mvx {

namespace {

// SDL's dummy and disk drivers have no hardware to keep fed, so they take small blocks: the
// first sound of a start or a seek then follows within a few milliseconds. Real devices take
// blocks of about 23 ms, which desktop sound servers play without gaps.
constexpr int kTestDriverPeriod = 128;
constexpr int kDevicePeriod = 1024;
constexpr int kSilentPeriod = AudioOutput::kSampleRate / 100; // 10 ms
constexpr double kClocklessSlack = 0.25;
// A device that has not asked for sound for this long (seconds) counts as gone.
constexpr double kDeviceSilenceLimit = 1.0;

bool isTestDriver(const QString &driver)
{
    return driver == QLatin1String("dummy") || driver == QLatin1String("disk");
}

} // namespace

namespace {
std::mutex &listenerMutex()
{
    static std::mutex m;
    return m;
}
AudioOutput::NoticeListener &listener()
{
    static AudioOutput::NoticeListener l;
    return l;
}
} // namespace

void AudioOutput::setNoticeListener(NoticeListener l)
{
    std::lock_guard lock(listenerMutex());
    listener() = std::move(l);
}

void AudioOutput::tellNotice() const
{
    NoticeListener l;
    {
        std::lock_guard lock(listenerMutex());
        l = listener();
    }
    if (l && !m_notice.isEmpty())
        l(m_notice);
}

AudioOutput &AudioOutput::shared()
{
    static AudioOutput output;
    return output;
}

double AudioOutput::now()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

AudioOutput::AudioOutput(Backend backend)
{
    if (backend == Backend::Sdl && openSdl())
        return;
    if (backend == Backend::Sdl) {
        m_notice = QString::fromUtf8("没有找到可用的声音设备，程序照常使用，但听不到声音。")
                 + (m_notice.isEmpty() ? QString() : QStringLiteral("\n(") + m_notice + QLatin1Char(')'));
    }
    startSilent();
    tellNotice();
}

AudioOutput::~AudioOutput()
{
    if (m_device != 0)
        SDL_CloseAudioDevice(m_device);
    if (m_sdlStarted)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    if (m_silentThread.joinable()) {
        {
            std::lock_guard lock(m_silentMutex);
            m_silentQuit = true;
        }
        m_silentWake.notify_all();
        m_silentThread.join();
    }
}

bool AudioOutput::openSdl()
{
    // Qt handles the signals; the name is what desktop sound mixers show for our stream.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Lentoria");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Lesson sound");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        m_notice = QString::fromUtf8(SDL_GetError());
        return false;
    }
    m_sdlStarted = true;
    const QString driver = QString::fromUtf8(SDL_GetCurrentAudioDriver());
    const bool testDriver = isTestDriver(driver);

    SDL_AudioSpec want{};
    SDL_AudioSpec have{};
    want.freq = kSampleRate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = Uint16(testDriver ? kTestDriverPeriod : kDevicePeriod);
    want.callback = &AudioOutput::sdlCallback;
    want.userdata = this;
    // SDL converts to whatever the hardware wants; only the block size may differ.
    m_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    if (m_device == 0) {
        m_notice = QString::fromUtf8(SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_sdlStarted = false;
        return false;
    }
    m_driver = driver;
    m_period = have.samples > 0 ? have.samples : want.samples;
    const double periodSeconds = double(m_period) / kSampleRate;
    if (testDriver) {
        // No hardware clock: the driver takes blocks when SDL_Delay wakes it, unevenly and
        // faster than real time on average, and catches up by itself after a late wake-up.
        // So the clock leads; it waits only for a driver stuck for a quarter of a second.
        m_timing.latency = 0;
        m_timing.fromRequest = true;
        m_timing.slack = kClocklessSlack;
        m_timing.tolerance = kClocklessSlack;
    } else {
        // A real device still holds about one block when it asks for the next one.
        m_timing.latency = periodSeconds;
        m_timing.fromRequest = false;
        m_timing.slack = 0;
        m_timing.tolerance = 2 * periodSeconds + m_timing.latency + 0.005;
    }
    m_lastCallback = now();
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

void AudioOutput::startSilent()
{
    {
        std::lock_guard lock(m_mutex);
        m_period = kSilentPeriod;
        m_timing.latency = 0;
        m_timing.fromRequest = true;
        m_timing.slack = kClocklessSlack;
        m_timing.tolerance = kClocklessSlack;
        for (const auto &voice : m_voices)
            voice->setTiming(m_timing);
    }
    m_silentThread = std::thread([this] { silentLoop(); });
}

bool AudioOutput::checkDevice()
{
    if (m_device == 0 || m_lost)
        return false;
    const bool gone = SDL_GetAudioDeviceStatus(m_device) == SDL_AUDIO_STOPPED;
    const bool silentTooLong = now() - m_lastCallback.load() > kDeviceSilenceLimit;
    if (!gone && !silentTooLong)
        return false;
    switchToSilence(QString::fromUtf8("声音设备已断开，程序照常使用，但听不到声音。"));
    return true;
}

void AudioOutput::switchToSilence(const QString &notice)
{
    if (m_silentThread.joinable())
        return;
    // SDL's thread may still call back; from now on it only gets silence.
    m_lost = true;
    m_notice = notice;
    startSilent();
    tellNotice();
}

void AudioOutput::silentLoop()
{
    using namespace std::chrono;
    std::vector<float> buffer(size_t(kSilentPeriod) * 2);
    const auto step = duration_cast<steady_clock::duration>(duration<double>(double(kSilentPeriod) / kSampleRate));
    auto next = steady_clock::now();
    std::unique_lock lock(m_silentMutex);
    while (!m_silentQuit) {
        lock.unlock();
        mix(buffer.data(), kSilentPeriod, now());
        lock.lock();
        next += step;
        // Absolute deadlines keep the pace exact however long a block took.
        m_silentWake.wait_until(lock, next, [this] { return m_silentQuit; });
    }
}

void AudioOutput::sdlCallback(void *self, unsigned char *stream, int len)
{
    auto *output = static_cast<AudioOutput *>(self);
    const double t = now();
    output->m_lastCallback = t;
    if (output->m_lost) {
        std::memset(stream, 0, size_t(len));
        return;
    }
    output->mix(reinterpret_cast<float *>(stream), len / int(2 * sizeof(float)), t);
}

void AudioOutput::mix(float *out, int frames, double callbackTime)
{
    std::memset(out, 0, size_t(frames) * 2 * sizeof(float));
    std::lock_guard lock(m_mutex);
    for (const auto &voice : m_voices)
        voice->render(out, frames, callbackTime);
    if (m_voices.size() > 1) {
        for (int i = 0; i < 2 * frames; ++i)
            out[i] = std::clamp(out[i], -1.0f, 1.0f);
    }
}

void AudioOutput::addVoice(const std::shared_ptr<Voice> &voice)
{
    std::lock_guard lock(m_mutex);
    voice->setTiming(m_timing);
    if (std::find(m_voices.begin(), m_voices.end(), voice) == m_voices.end())
        m_voices.push_back(voice);
}

void AudioOutput::removeVoice(const std::shared_ptr<Voice> &voice)
{
    std::lock_guard lock(m_mutex);
    m_voices.erase(std::remove(m_voices.begin(), m_voices.end(), voice), m_voices.end());
}

} // namespace mvx
