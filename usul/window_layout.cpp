#include "usul/window_layout.h"

#include "common/rounding.h"

namespace zerkavi {

EffectRect growingRect(int left, int top, int width, int height, int i, int n) {
    const double w = double(width) * i / n;
    const double h = roundHalfEven(double(height) * i / n);
    const double x = left + (width - w) / 2;
    const double y = top + (height - h) / 2;
    return {int(roundHalfEven(x)), int(roundHalfEven(y)), int(roundHalfEven(x + w)),
            int(roundHalfEven(y + h))};
}

} // namespace zerkavi
