#include "libs/media/Voice.h"

#include "libs/media/DecodedSound.h"

#include <SoundTouch.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace mvx {

namespace {

constexpr double kMinRate = 0.25;
constexpr double kMaxRate = 4.0;
constexpr int kFeedFrames = 1024;
// After a reset the stretcher first gives out a few frames of silence (its overlap buffer is
// empty); dropping them keeps a rate change or a start free of a gap and a click.
constexpr int kMaxLeadingSilence = 128;
constexpr float kSilence = 2e-3f; // about -54 dB

// Adds n frames of `channels` interleaved samples into stereo out.
void addToStereo(float *out, const float *in, int n, int channels)
{
    if (channels == 1) {
        for (int i = 0; i < n; ++i) {
            out[2 * i] += in[i];
            out[2 * i + 1] += in[i];
        }
    } else {
        for (int i = 0; i < 2 * n; ++i)
            out[i] += in[i];
    }
}

} // namespace

Voice::Voice(int deviceRate)
    : m_stretch(std::make_unique<soundtouch::SoundTouch>()), m_deviceRate(deviceRate)
{
}

Voice::~Voice() = default;

void Voice::setTiming(const OutputTiming &timing)
{
    m_timing = timing;
    m_clock.setSlack(timing.slack);
}

void Voice::setSound(std::shared_ptr<const DecodedSound> sound)
{
    m_sound = std::move(sound);
    m_state = m_sound ? State::Stopped : State::Empty;
    m_clock.setDuration(duration());
    m_clock.hold(0);
    m_startPending = false;
    m_ratePending = false;
    m_stretching = false;
    m_stretch->clear();
}

double Voice::duration() const
{
    return m_sound ? m_sound->duration() : 0.0;
}

Voice::State Voice::state(double now) const
{
    if (m_state == State::Playing && m_clock.reachedEnd(now))
        return State::Ended;
    return m_state;
}

double Voice::position(double now) const
{
    return m_sound ? m_clock.position(now) : 0.0;
}

void Voice::play(double now)
{
    if (!m_sound)
        return;
    const State st = state(now);
    if (st == State::Playing)
        return;
    double from = m_clock.position(now);
    if (st == State::Ended || from >= duration())
        from = 0;
    m_state = State::Playing;
    m_clock.hold(from);
    m_renderPos = m_clock.position(now);
    m_startPending = true;
    if (m_timing.fromRequest)
        m_clock.startRun(m_renderPos, m_rate, now);
}

void Voice::pause(double now)
{
    const State st = state(now);
    if (st != State::Playing && st != State::Ended)
        return;
    m_clock.freeze(now);
    m_state = State::Paused;
    m_startPending = false;
}

void Voice::stop()
{
    if (!m_sound)
        return;
    m_state = State::Stopped;
    m_clock.hold(0);
    m_startPending = false;
}

void Voice::seek(double pos, double now)
{
    if (!m_sound || !std::isfinite(pos))
        return;
    const State st = state(now);
    m_clock.hold(pos); // clamps to 0..duration
    if (st == State::Playing) {
        m_renderPos = m_clock.position(now);
        m_startPending = true;
        if (m_timing.fromRequest)
            m_clock.startRun(m_renderPos, m_rate, now);
    } else if (st == State::Ended) {
        m_state = State::Stopped;
    }
}

void Voice::setRate(double rate, double now)
{
    if (!std::isfinite(rate) || rate <= 0)
        return;
    rate = std::clamp(rate, kMinRate, kMaxRate);
    if (rate == m_rate)
        return;
    m_rate = rate;
    if (state(now) != State::Playing)
        return;
    if (m_timing.fromRequest)
        m_clock.changeRate(rate, now);
    if (!m_startPending)
        m_ratePending = true;
}

bool Voice::bypassStretcher() const
{
    return m_rate == 1.0 && m_sound && m_sound->sampleRate() == m_deviceRate;
}

void Voice::resetStretcher(double sourcePos)
{
    m_stretch->clear();
    m_stretch->setChannels(uint(m_sound->channels()));
    m_stretch->setSampleRate(uint(m_sound->sampleRate()));
    m_stretch->setTempo(m_rate);
    m_stretch->setRate(double(m_sound->sampleRate()) / m_deviceRate);
    m_sourceFrame = std::llround(sourcePos * m_sound->sampleRate());
    m_outLeft = std::llround((duration() - sourcePos) / m_rate * m_deviceRate);
    m_flushed = false;
    m_stretching = true;
    m_skipLeading = kMaxLeadingSilence;
}

void Voice::render(float *out, int frames, double callbackTime)
{
    if (m_state != State::Playing || !m_sound || frames <= 0)
        return;
    const double dur = duration();
    const double heardAt = callbackTime + m_timing.latency;
    if (m_startPending) {
        m_startPending = false;
        m_ratePending = false;
        m_stretching = false;
        m_sourceFrame = std::llround(m_renderPos * m_sound->sampleRate());
        // (a clock not yet running here was waiting for a device that has since gone)
        if (!m_timing.fromRequest || !m_clock.running())
            m_clock.startRun(m_renderPos, m_rate, heardAt);
    } else {
        if (m_ratePending) {
            m_ratePending = false;
            if (!m_timing.fromRequest || m_clock.rate() != m_rate)
                m_clock.changeRate(m_rate, heardAt);
            if (m_stretching) {
                m_stretch->setTempo(m_rate);
                m_outLeft = std::llround((dur - m_renderPos) / m_rate * m_deviceRate);
            }
        }
        // A device that lags the clock (it stalled, or paces itself slowly): the clock
        // follows what the device really plays, so the position never runs ahead of it.
        if (m_renderPos < dur && m_clock.nominal(heardAt) > m_renderPos + m_timing.tolerance * m_rate)
            m_clock.startRun(m_clock.position(heardAt), m_rate, heardAt);
    }
    if (m_renderPos >= dur)
        return; // all handed over; the clock runs on to the end

    const bool direct = bypassStretcher();
    if (!direct && !m_stretching)
        resetStretcher(m_renderPos);
    else if (direct && m_stretching) {
        m_stretching = false;
        m_sourceFrame = std::llround(m_renderPos * m_sound->sampleRate());
    }
    if (direct)
        renderDirect(out, frames);
    else
        renderStretched(out, frames);
    m_clock.delivered(m_renderPos);
}

int Voice::renderDirect(float *out, int frames)
{
    const long long total = m_sound->frames();
    const int n = int(std::clamp<long long>(total - m_sourceFrame, 0, frames));
    const int ch = m_sound->channels();
    addToStereo(out, m_sound->data() + m_sourceFrame * ch, n, ch);
    m_sourceFrame += n;
    m_renderPos = m_sourceFrame >= total ? duration() : double(m_sourceFrame) / m_sound->sampleRate();
    return n;
}

int Voice::renderStretched(float *out, int frames)
{
    const int ch = m_sound->channels();
    const long long total = m_sound->frames();
    const int want = int(std::clamp<long long>(m_outLeft, 0, frames));
    m_scratch.assign(size_t(want) * ch, 0.0f);
    int got = 0;
    while (got < want) {
        if (m_stretch->numSamples() > 0) {
            float *chunk = m_scratch.data() + size_t(got) * ch;
            int n = int(m_stretch->receiveSamples(chunk, uint(want - got)));
            if (m_skipLeading > 0) {
                int silent = 0;
                while (silent < n && silent < m_skipLeading
                       && std::abs(chunk[silent * ch]) < kSilence && std::abs(chunk[silent * ch + ch - 1]) < kSilence)
                    ++silent;
                m_skipLeading = (silent == n && silent < m_skipLeading) ? m_skipLeading - silent : 0;
                std::memmove(chunk, chunk + size_t(silent) * ch, size_t(n - silent) * ch * sizeof(float));
                n -= silent;
            }
            got += n;
        } else if (m_sourceFrame < total) {
            const int chunk = int(std::min<long long>(kFeedFrames, total - m_sourceFrame));
            m_stretch->putSamples(m_sound->data() + m_sourceFrame * ch, uint(chunk));
            m_sourceFrame += chunk;
        } else if (!m_flushed) {
            m_stretch->flush();
            m_flushed = true;
        } else {
            break; // the stretcher is dry: the rest stays silent
        }
    }
    if (want == m_outLeft) {
        // The run ends here while the stretcher may still hold a little sound: fade out the
        // last 3 ms instead of cutting it off with a click.
        const int ramp = std::min(want, m_deviceRate * 3 / 1000);
        for (int i = 0; i < ramp; ++i) {
            const float gain = float(ramp - i) / float(ramp + 1);
            for (int c = 0; c < ch; ++c)
                m_scratch[size_t(want - ramp + i) * ch + c] *= gain;
        }
    }
    addToStereo(out, m_scratch.data(), want, ch);
    m_outLeft -= want;
    m_renderPos = m_outLeft <= 0 ? duration()
                                 : std::min(duration(), m_renderPos + double(want) / m_deviceRate * m_rate);
    return want;
}

} // namespace mvx
