#pragma once
// Position bookkeeping of one playing sound: the source position (seconds) the learner hears
// at a moment of the monotonic clock (seconds). The output side reports when a run of sound
// starts to be heard, when a new rate is heard and how far the sound handed to the device
// reaches; between those reports the position moves with the clock at the rate. It never
// passes what was handed to the device nor the duration. Plain arithmetic with no clock of its
// own, so tests drive it with virtual time; the owner does the locking.
namespace mvx {

class PlaybackClock final
{
public:
    // Stops at pos (clamped to 0..duration); position() reads pos until the next run is heard.
    void hold(double pos);
    void setDuration(double duration);

    // Sound from sourcePos on, at rate, is heard from time heardAt.
    void startRun(double sourcePos, double rate, double heardAt);
    // The rate changes to rate at time heardAt without a jump of the position.
    void changeRate(double rate, double heardAt);
    // The sound handed to the device in this run now reaches sourceEnd.
    void delivered(double sourceEnd) { m_deliveredEnd = sourceEnd; }
    // How far (seconds of sound) the position may run ahead of what was handed over before
    // it waits: 0 for a real device, whose buffer already holds more than is heard.
    void setSlack(double slack) { m_slack = slack; }
    // Stops where the learner is at time t and returns that position.
    double freeze(double t);

    [[nodiscard]] double position(double t) const;
    // The position the clock alone gives at t (no bound by the delivered sound).
    [[nodiscard]] double nominal(double t) const;
    [[nodiscard]] bool running() const { return m_running; }
    // The latest rate given (heard or still to be heard).
    [[nodiscard]] double rate() const { return m_hasNext ? m_next.rate : m_seg.rate; }
    [[nodiscard]] double duration() const { return m_duration; }
    [[nodiscard]] double deliveredEnd() const { return m_deliveredEnd; }
    // Running, everything up to the duration handed over, and the position there.
    [[nodiscard]] bool reachedEnd(double t) const;

private:
    struct Segment {
        double t0 = 0;   // when this part starts to be heard
        double pos0 = 0; // source position heard at t0
        double rate = 1;
    };
    [[nodiscard]] double clampToDuration(double pos) const;

    Segment m_seg;
    Segment m_next; // a rate change not yet heard
    bool m_hasNext = false;
    bool m_running = false;
    double m_held = 0;
    double m_deliveredEnd = 0;
    double m_duration = 0;
    double m_slack = 0;
};

} // namespace mvx
