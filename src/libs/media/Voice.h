#pragma once
// One sound being played on the shared output: the decoded sound, its play state, the time
// stretcher (SoundTouch: rate with pitch kept, and conversion to the device's sample rate) and
// the position clock. The window thread changes it and the output thread renders it, always
// under the output's lock; every method takes the monotonic time it acts at (seconds), so
// tests drive it with virtual time and render it directly.
#include "libs/media/PlaybackClock.h"

#include <memory>
#include <vector>

namespace soundtouch {
class SoundTouch;
}

namespace mvx {

class DecodedSound;

// How the output's device keeps time, as the voices' clocks need it (seconds).
struct OutputTiming {
    double latency = 0;   // from a callback to the moment its block is heard
    double tolerance = 0.01; // how far the device may lag the clock before the clock follows it
    double slack = 0;     // how far the clock may run ahead of the sound handed over
    // True for a device without a hardware clock (SDL's dummy and disk drivers, the silent
    // stand-in): a start, seek or rate change counts from the moment it is asked for.
    bool fromRequest = false;
};

class Voice final
{
public:
    enum class State { Empty, Stopped, Paused, Playing, Ended };

    // Renders stereo float frames at deviceRate.
    explicit Voice(int deviceRate);
    ~Voice();
    Voice(const Voice &) = delete;
    Voice &operator=(const Voice &) = delete;

    // Takes a new sound (or none), stopped at 0.
    void setSound(std::shared_ptr<const DecodedSound> sound);
    [[nodiscard]] bool hasSound() const { return m_sound != nullptr; }
    [[nodiscard]] double duration() const;

    // Starts or resumes at the current position (from 0 when the end was reached).
    void play(double now);
    void pause(double now);
    void stop();
    // Clamped to 0..duration; playing goes on from there.
    void seek(double pos, double now);
    // Rates outside 0.25..4 are clamped; the position does not jump.
    void setRate(double rate, double now);
    [[nodiscard]] double rate() const { return m_rate; }

    [[nodiscard]] State state(double now) const;
    [[nodiscard]] double position(double now) const;

    void setTiming(const OutputTiming &timing);

    // Output thread: adds `frames` stereo frames, called back at callbackTime, into out.
    void render(float *out, int frames, double callbackTime);

private:
    void resetStretcher(double sourcePos);
    [[nodiscard]] bool bypassStretcher() const;
    int renderDirect(float *out, int frames);
    int renderStretched(float *out, int frames);

    std::shared_ptr<const DecodedSound> m_sound;
    std::unique_ptr<soundtouch::SoundTouch> m_stretch;
    std::vector<float> m_scratch;
    PlaybackClock m_clock;
    OutputTiming m_timing;
    State m_state = State::Empty;
    const int m_deviceRate;
    double m_rate = 1.0;
    double m_renderPos = 0;      // source seconds of the next frame to render
    long long m_sourceFrame = 0; // next source frame to read (direct copy or stretcher input)
    long long m_outLeft = 0;     // stretched frames still to render in this run
    bool m_startPending = false; // a run (re)starts with the next rendered block
    bool m_ratePending = false;  // the next rendered block is the first at a new rate
    bool m_flushed = false;
    bool m_stretching = false;   // the last block came through the stretcher
    int m_skipLeading = 0;       // leading silent frames of the stretcher still to drop
};

} // namespace mvx
