#pragma once
// Settings of excerpts and exports (the program's own section, see core/UserSettings.h).
namespace mvx::Key {
inline constexpr auto ExcerptPadMs = "ExcerptPadMs"; // quiet widening of a sentence's clip, 0..1000 ms
inline constexpr auto ExportFolder = "ExportFolder"; // where a lesson's MP3 + LRC go
inline constexpr auto CardsFolder = "CardsFolder";   // where sentence cards go
} // namespace mvx::Key
