#pragma once
// Records from the default capture device through SDL2 (16-bit mono at kRate), for the
// speaking drill: start, speak, stop; the samples can then be drawn, played and saved.
// SDL's driver is chosen by SDL_AUDIODRIVER ("disk" reads SDL_DISKAUDIOFILEIN: tests record
// a known sound that way). A recording stops by itself after kMaxSeconds.
#include <QString>

#include <mutex>
#include <vector>

namespace mvx {

class SoundRecorder final
{
public:
    static constexpr int kRate = 22050;
    static constexpr int kMaxSeconds = 120;

    SoundRecorder();
    ~SoundRecorder();
    SoundRecorder(const SoundRecorder &) = delete;
    SoundRecorder &operator=(const SoundRecorder &) = delete;

    // Starts a new recording (the last one is dropped). False, with errorText(), when there
    // is no capture device.
    bool start();
    void stop();
    [[nodiscard]] bool isRecording() const { return m_device != 0; }
    [[nodiscard]] QString errorText() const { return m_error; }

    [[nodiscard]] std::vector<qint16> samples() const;
    // Writes the recording as a 16-bit mono WAV file; false when there is none or on failure.
    bool writeWav(const QString &path) const;

private:
    static void callback(void *userdata, unsigned char *stream, int len);

    quint32 m_device = 0; // SDL_AudioDeviceID
    bool m_sdlStarted = false;
    QString m_error;
    mutable std::mutex m_mutex;
    std::vector<qint16> m_samples;
};

} // namespace mvx
