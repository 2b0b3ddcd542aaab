// Geometry of the window's opening effect: a rectangle that grows from the centre of a
// panel to its full size.
#pragma once

namespace zerkavi {

// Corners (x1, y1) and (x2, y2), the second exclusive.
struct EffectRect {
    int x1, y1, x2, y2;
};

// Rectangle i of n (1-based) for a panel at (left, top) of size width x height: the width
// grows as a fraction, the height is rounded first; every corner is rounded ties to even.
EffectRect growingRect(int left, int top, int width, int height, int i, int n);

} // namespace zerkavi
