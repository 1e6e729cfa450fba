#pragma once
// Band-limited (windowed-sinc, polyphase) sample-rate conversion of mono float sound, with
// output sample m of a stream sitting exactly at input position m * inRate / outRate. Because
// every output sample is computed from that absolute position, a stretch cut from the middle of
// a sound equals the same samples of a conversion of the whole sound.
#include <QtGlobal>
#include <vector>

namespace mvx::sentra {

class Resampler final
{
public:
    Resampler(int inRate, int outRate);

    [[nodiscard]] int inRate() const { return m_inRate; }
    [[nodiscard]] int outRate() const { return m_outRate; }
    [[nodiscard]] bool isIdentity() const { return m_inRate == m_outRate; }

    // Input samples needed for output samples [outFirst, outFirst + outCount): the range
    // [*inFirst, *inFirst + *inCount) (may start below 0 or pass the end; callers pad zeros).
    void inputRange(qint64 outFirst, qint64 outCount, qint64 *inFirst, qint64 *inCount) const;
    // Computes output samples [outFirst, outFirst + outCount) from in, which holds the input
    // range that inputRange() gave for the same arguments.
    void process(const float *in, qint64 inFirst, qint64 outFirst, qint64 outCount,
                 float *out) const;

private:
    int m_inRate;
    int m_outRate;
    qint64 m_step = 1;   // input advance per output sample, in units of 1 / m_phases
    qint64 m_phases = 1; // fractional positions an output sample can fall on
    int m_taps = 0;      // coefficients per phase
    int m_half = 0;      // taps left of the position, including the sample at floor(pos)
    std::vector<float> m_table; // m_phases rows of m_taps coefficients
};

} // namespace mvx::sentra
