#pragma once
// Cutting a stretch out of a sound file, sample-exact, in the source's own format.
#include <QString>

namespace mvx::WaveSegment {

// The frame a time falls on: round(ms * rate / 1000).
[[nodiscard]] qint64 FrameAt(qint64 ms, int sampleRate);
// Writes frames [FrameAt(startMs), FrameAt(endMs)) of source, clamped to the sound, to
// target (WAV for a ".wav" target, else the source's container). False when the source is
// unreadable, the stretch is empty or the target cannot be written; no partial target is left.
bool Extract(const QString &source, const QString &target, qint64 startMs, qint64 endMs, QString *error = nullptr);

} // namespace mvx::WaveSegment
