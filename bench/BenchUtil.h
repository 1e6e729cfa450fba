#pragma once
// Small helpers shared by the benchmark programs: timing and the figure line.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace bench {

inline double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

inline double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Prints the line bench/run collects: "figure: NAME VALUE UNIT".
inline void figure(const char *name, double value, const char *unit)
{
    std::printf("figure: %s %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

} // namespace bench
