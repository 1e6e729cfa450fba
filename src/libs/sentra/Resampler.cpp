#include "Resampler.h"

#include <cmath>
#include <numeric>

namespace mvx::sentra {

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr int ZeroCrossings = 12;     // kernel half-width in cut-off periods
constexpr double KaiserBeta = 8.0;    // about 80 dB stop band
constexpr qint64 MaxPhases = 4096;    // finer positions are rounded to this grid

double besselI0(double x)
{
    double sum = 1.0, term = 1.0;
    for (int k = 1; k < 50; ++k) {
        term *= (x / (2.0 * k)) * (x / (2.0 * k));
        sum += term;
        if (term < 1e-12 * sum)
            break;
    }
    return sum;
}

} // namespace

Resampler::Resampler(int inRate, int outRate) : m_inRate(inRate), m_outRate(outRate)
{
    if (inRate <= 0 || outRate <= 0 || inRate == outRate) {
        m_inRate = m_outRate = qMax(1, outRate);
        return;
    }
    const qint64 g = std::gcd(qint64(inRate), qint64(outRate));
    qint64 phases = outRate / g;
    qint64 step = inRate / g;
    if (phases > MaxPhases) {
        // Unusual rate pairs: positions on a grid of MaxPhases per input sample.
        phases = MaxPhases;
        step = 0; // marks "compute the position from the rates"
    }
    m_phases = phases;
    m_step = step;

    // Cut-off relative to the input's Nyquist frequency, a little below the lower rate's.
    const double fc = std::min(1.0, double(outRate) / inRate) * 0.95;
    const double halfWidth = ZeroCrossings / fc; // in input samples
    m_half = int(std::ceil(halfWidth));
    m_taps = 2 * m_half;
    m_table.assign(size_t(m_phases) * m_taps, 0.0f);
    const double i0Beta = besselI0(KaiserBeta);
    for (qint64 p = 0; p < m_phases; ++p) {
        const double frac = double(p) / m_phases;
        float *row = &m_table[size_t(p) * m_taps];
        double sum = 0;
        for (int t = 0; t < m_taps; ++t) {
            const double x = (t - m_half + 1) - frac; // input index minus position
            const double r = x / halfWidth;
            double w = 0;
            if (std::abs(r) < 1.0)
                w = besselI0(KaiserBeta * std::sqrt(1.0 - r * r)) / i0Beta;
            const double arg = Pi * fc * x;
            const double sinc = std::abs(arg) < 1e-12 ? 1.0 : std::sin(arg) / arg;
            row[t] = float(fc * sinc * w);
            sum += row[t];
        }
        // Unity gain at DC for every phase, so silence and steady levels stay exact.
        for (int t = 0; t < m_taps; ++t)
            row[t] = float(row[t] / sum);
    }
}

void Resampler::inputRange(qint64 outFirst, qint64 outCount, qint64 *inFirst,
                           qint64 *inCount) const
{
    if (isIdentity()) {
        *inFirst = outFirst;
        *inCount = outCount;
        return;
    }
    const qint64 last = outFirst + qMax<qint64>(outCount, 1) - 1;
    const qint64 firstPos = (outFirst * m_inRate) / m_outRate;
    const qint64 lastPos = (last * m_inRate) / m_outRate;
    *inFirst = firstPos - m_half + 1;
    *inCount = (lastPos + m_half + 2) - *inFirst; // one spare for rounded-up phases
}

void Resampler::process(const float *in, qint64 inFirst, qint64 outFirst, qint64 outCount,
                        float *out) const
{
    if (isIdentity()) {
        for (qint64 j = 0; j < outCount; ++j)
            out[j] = in[outFirst + j - inFirst];
        return;
    }
    for (qint64 j = 0; j < outCount; ++j) {
        const qint64 m = outFirst + j;
        const qint64 num = m * m_inRate;
        qint64 base = num / m_outRate;
        qint64 phase;
        if (m_step) {
            phase = (m * m_step) % m_phases;
        } else {
            phase = ((num % m_outRate) * m_phases + m_outRate / 2) / m_outRate;
            if (phase == m_phases) {
                phase = 0;
                ++base;
            }
        }
        const float *row = &m_table[size_t(phase) * m_taps];
        const float *src = in + (base - m_half + 1 - inFirst);
        float acc = 0;
        // The sum may be taken in any order, which lets the compiler use vector registers.
#pragma omp simd reduction(+ : acc)
        for (int t = 0; t < m_taps; ++t)
            acc += src[t] * row[t];
        out[j] = acc;
    }
}

} // namespace mvx::sentra
