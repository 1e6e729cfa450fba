#pragma once
// The repeater library's facade: wave segment extraction and the player's digest-side
// calls. (Quiz generation lives with the quiz.) Paths may use "\" or "/".
#include <QString>

namespace mvx {

// Does nothing; the program calls it once at start-up.
void vcEchomaxproNop();
// Writes to targetWave exactly the sample frames of [startMs, endMs) of sourceWave, in the
// source's own format (rate, channels, sample type): frames round(startMs * rate / 1000)
// up to round(endMs * rate / 1000), clamped to the sound. workBuffer / workLength are
// accepted for the old call shape and not needed. Returns 1, or 0 when the source is no
// readable sound, the range is empty or the target cannot be written (no half file is left).
int vcExtractWaveSeg(const QString &sourceWave, const QString &targetWave, int startMs, int endMs,
                     int *workBuffer = nullptr, int workLength = 0);
// 1: the waveform data of the digest last made is kept in memory for drawing; 0: not kept.
void vcSetVisualWaveDataMan(int on);
// Frees the library-side copy of the last digest (the player closes its own handle first).
void vcCloseDigestFile();

} // namespace mvx
