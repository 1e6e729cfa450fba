#pragma once
// The process-wide sound output: one SDL2 playback device (stereo float at kSampleRate) kept
// open for the life of the program, mixing every voice that is added to it. Without a sound
// device (SDL fails to start or to open one) a silent stand-in paced by the monotonic clock
// takes the device's place, so players keep their timing; notice() then tells the learner.
//
// Timing of the voices' positions: on a real device, the sound handed to it less the block it
// still holds, moving with the monotonic clock between its callbacks and waiting when it
// stalls. SDL's dummy and disk drivers and the silent stand-in have no hardware clock: there
// a start, seek or rate change counts from the moment it is asked for, and the position waits
// only for a driver stuck for a quarter of a second.
//
// Locking: the output thread renders the voices under mutex(); callers lock it around every
// use of a voice. now() is the monotonic clock the positions are reckoned on.
#include "libs/media/Voice.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace mvx {

class AudioOutput final
{
public:
    static constexpr int kSampleRate = 44100;

    // The shared output, opened on first use (SDL's driver is chosen by SDL_AUDIODRIVER).
    static AudioOutput &shared();

    enum class Backend { Sdl, Silent };
    // Opens SDL's device, falling back to silence; Backend::Silent never touches SDL.
    explicit AudioOutput(Backend backend = Backend::Sdl);
    ~AudioOutput();
    AudioOutput(const AudioOutput &) = delete;
    AudioOutput &operator=(const AudioOutput &) = delete;

    // True when sound really goes to an SDL device (including the dummy and disk drivers).
    [[nodiscard]] bool hasDevice() const { return m_device != 0 && !m_lost; }
    // SDL's driver name ("pulseaudio", "pipewire", "alsa", "dummy", "disk"), or "" when silent.
    [[nodiscard]] QString driverName() const { return m_driver; }
    // Empty while sound works; otherwise the message for the learner.
    [[nodiscard]] QString notice() const { return m_notice; }
    // Called with notice() when an output starts without a device or loses its device, on
    // the thread where that happened (hand it over to the window thread before showing it).
    // An empty listener stops the calls.
    using NoticeListener = std::function<void(const QString &notice)>;
    static void setNoticeListener(NoticeListener listener);
    // Frames the device takes per callback.
    [[nodiscard]] int periodFrames() const { return m_period; }

    [[nodiscard]] static double now();
    [[nodiscard]] std::mutex &mutex() { return m_mutex; }

    void addVoice(const std::shared_ptr<Voice> &voice);
    void removeVoice(const std::shared_ptr<Voice> &voice);

    // Window thread, called by the players while they play: when SDL reports the device gone
    // (unplugged, sound server ended) or it has not asked for sound for a second, playing
    // goes on in silence and notice() says why. Returns true when it switched.
    bool checkDevice();
    // Goes on in silence from now on, with `notice` for the learner.
    void switchToSilence(const QString &notice);

private:
    static void sdlCallback(void *self, unsigned char *stream, int len);
    void mix(float *out, int frames, double callbackTime);
    bool openSdl();
    void tellNotice() const;
    void startSilent();
    void silentLoop();

    std::mutex m_mutex;
    std::vector<std::shared_ptr<Voice>> m_voices;
    QString m_driver;
    QString m_notice;
    unsigned m_device = 0;
    int m_period = 1024;
    OutputTiming m_timing;
    bool m_sdlStarted = false;
    std::atomic<bool> m_lost{false};
    std::atomic<double> m_lastCallback{0};

    std::thread m_silentThread;
    std::mutex m_silentMutex;
    std::condition_variable m_silentWake;
    bool m_silentQuit = false;
};

} // namespace mvx
