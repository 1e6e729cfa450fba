#pragma once
// Rounding used for every millisecond and pixel figure of the player: to the nearest
// integer, halves to even (2.5 -> 2, 3.5 -> 4).
#include <cmath>

namespace mvx {

[[nodiscard]] inline int RoundHalfEven(double value)
{
    const double r = std::nearbyint(value); // default rounding mode: to nearest, ties to even
    if (r > 2147483647.0)
        return 2147483647;
    if (r < -2147483648.0)
        return -2147483647 - 1;
    return static_cast<int>(r);
}

} // namespace mvx
