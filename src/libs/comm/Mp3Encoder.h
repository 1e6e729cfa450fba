#pragma once
// MP3 encoding by LAME of any sound file libsndfile reads (mono stays mono, more channels
// become stereo), constant bit rate. The MP3 file appears complete or not at all.
#include <QString>

namespace mvx::Mp3Encoder {

// kbps is clamped to LAME's 8..320. False (with error) when the source is unreadable or the
// target cannot be written.
bool Encode(const QString &sourceFile, const QString &mp3File, int kbps, QString *error = nullptr);

} // namespace mvx::Mp3Encoder
