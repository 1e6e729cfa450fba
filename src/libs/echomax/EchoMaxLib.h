#pragma once
// The repeater library's facade: wave segment extraction, the player's digest-side calls
// and quiz generation. Paths may use "\" or "/".
#include "core/InputError.h"

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

// Turns the quiz source (QUIZ_FORMAT.md) into the quiz page at pageFile, with title as its
// heading, and returns the answer key (one character per question). The page is written
// under a temporary name and renamed into place. On failure returns an empty key, fills
// *error (may be null) with the file, line and reason, and leaves pageFile as it was.
[[nodiscard]] QString vcGenQuiz(const QString &source, const QString &pageFile, const QString &title,
                                InputError *error);

} // namespace mvx
