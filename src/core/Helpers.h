#pragma once
// Small text, path, time and colour helpers shared by every window.
// Positions are 1-based; path helpers take both "\" and "/" as separators.
#include <QString>
#include <QStringList>

namespace mvx {

[[nodiscard]] QString TrimAtNul(const QString &text);
[[nodiscard]] int LastPosition(const QString &text, const QString &part); // 0 when absent
[[nodiscard]] int LastIndexOf(const QString &text, const QString &part);  // -1 when absent
[[nodiscard]] QString FolderPart(const QString &path);       // up to and including the last separator
[[nodiscard]] QString FileNamePart(const QString &path);     // after the last separator
[[nodiscard]] QString StripExtension(const QString &name);   // up to the last "."
[[nodiscard]] QString ReplaceExtension(const QString &name, const QString &extension);
// A spec-style path ("a\b\c") as a file-system path with "/".
[[nodiscard]] QString ToFsPath(const QString &path);

[[nodiscard]] QString FormatMinSec(qint64 ms);      // mm:ss
[[nodiscard]] QString FormatMinSecTenth(qint64 ms); // mm:ss:t
[[nodiscard]] QString FormatPlayTime(qint64 ms);    // mm:ss:t, as the player shows positions

[[nodiscard]] QString ColourToHtml(qint64 colour); // red in the low byte -> "RRGGBB"
[[nodiscard]] qint64 SwapRedBlue(qint64 colour);

// Starts the command line and waits until it ends; returns at once when it cannot start.
// Returns the exit code, or -1 when the program could not be started.
int RunAndWait(const QString &commandLine);

// Height in pixels of the desktop's 12-point text font / 16: the screen's logical dots per
// inch / 96; 1 at the usual 96 dots per inch and when there is no screen.
[[nodiscard]] double SystemFontScale();

// Window geometry adaptation to screen resolution, as a pure rule.
// twipsPerPixel = 1440 / logical dots per inch; 15 means nothing changes.
struct ResolutionRule
{
    bool adapt = false;       // false at 15 twips per pixel
    double positionFactor = 1; // PF: positions and sizes are divided by it
    double fontFactor = 1;     // FF: font sizes are divided by it
};
[[nodiscard]] ResolutionRule ComputeResolutionRule(double twipsPerPixelX, double twipsPerPixelY, double fontScale);
// Window height after the rule: stays when PF is within 0.1 of H0 / H.
[[nodiscard]] double AdaptedWindowHeight(double heightTwips, double positionFactor);
// Font size after the rule: size / FF, one point less when that gives back the rounded original.
[[nodiscard]] double AdaptedFontSize(double size, double fontFactor);

// Top-left (twips) that centres a window of the given size on a screen of the given size (twips).
[[nodiscard]] QPair<int, int> CentredTopLeft(int screenWidth, int screenHeight, int width, int height);

} // namespace mvx
