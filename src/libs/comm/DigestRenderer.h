#pragma once
// Peaks to picture: draws a digest's window onto a QPainter. One pixel column shows
// windowRatio x 20 ms of sound: the column's min..max as a vertical stroke, scaled so the
// loudest part of the whole sound nearly fills the height (quiet recordings stay visible;
// a floor keeps near-silence flat). The background is the caller's.
#include "WaveDigest.h"

#include <QColor>
#include <QVector>

class QPainter;

namespace mvx {

class DigestRenderer final
{
public:
    static constexpr int MsPerPixelUnit = 20; // one pixel = ratio x 20 ms
    static constexpr int ScaleFloor = 1024;   // amplitude that fills the height at the least

    // Peaks of each pixel column of the window; invalid entries lie past the sound's end.
    [[nodiscard]] static QVector<PeakPair> Columns(const WaveDigest &digest, int widthPx, qint64 windowStartMs,
                                                   int windowRatio);
    // Top and bottom y (inclusive) of a column's stroke in a picture heightPx tall.
    [[nodiscard]] static QPair<int, int> StrokeSpan(const PeakPair &peaks, int peak, int heightPx);
    // Draws the window into (0, 0, widthPx, heightPx). False for bad sizes or ratio.
    static bool Draw(QPainter &painter, const WaveDigest &digest, int heightPx, int widthPx, qint64 windowStartMs,
                     int windowRatio, const QColor &colour = QColor(0, 90, 170));
};

} // namespace mvx
