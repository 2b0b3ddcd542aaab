// Every conversion of a fractional value to an integer in this program rounds to the
// nearest integer with ties to even (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
#pragma once

#include <cmath>

namespace zerkavi {

inline double roundHalfEven(double x) {
    const double f = std::floor(x);
    const double d = x - f;
    if (d > 0.5) return f + 1;
    if (d < 0.5) return f;
    return std::fmod(f, 2.0) == 0.0 ? f : f + 1;
}

} // namespace zerkavi
