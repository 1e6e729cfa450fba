#pragma once
// A 16-bit mono 22050 Hz WAV file in memory, for tests that need a small real sound:
// silent, or a saw-tooth tone.
#include <QByteArray>

namespace mvx::testing {

inline QByteArray wavBytes(int ms, bool tone)
{
    const quint32 samples = quint32(ms) * 22050 / 1000;
    QByteArray wav;
    auto put32 = [&wav](quint32 v) { wav.append(reinterpret_cast<const char *>(&v), 4); };
    auto put16 = [&wav](quint16 v) { wav.append(reinterpret_cast<const char *>(&v), 2); };
    wav.append("RIFF");
    put32(36 + samples * 2);
    wav.append("WAVEfmt ");
    put32(16);
    put16(1);
    put16(1);
    put32(22050);
    put32(44100);
    put16(2);
    put16(16);
    wav.append("data");
    put32(samples * 2);
    for (quint32 i = 0; i < samples; ++i)
        put16(tone ? quint16(qint16((i % 50) * 400 - 10000)) : 0);
    return wav;
}

} // namespace mvx::testing
