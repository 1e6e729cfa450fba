#pragma once
// Design geometry is written in twips (1/1440 inch); 15 twips are one logical pixel.
#include <QRect>
#include <cmath>

class QWidget;

namespace mvx {

inline constexpr int TwipsPerPixel = 15;

[[nodiscard]] inline int TwipsToPixels(double twips)
{
    return int(std::lround(twips / TwipsPerPixel));
}
[[nodiscard]] inline int PixelsToTwips(int pixels)
{
    return pixels * TwipsPerPixel;
}
[[nodiscard]] inline QRect TwipsRect(double left, double top, double width, double height)
{
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

} // namespace mvx
