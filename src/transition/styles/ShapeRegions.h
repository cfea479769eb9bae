#pragma once
#include "graphics/Region.h"

namespace pixvane {

// The closed triangle through three points, filled by the winding rule.
TRegion TriangleRegion(TPoint p1, TPoint p2, TPoint p3);

// Style 117: on a 10 x 10 grid over the frame, a right triangle with legs a
// (along x) and b (along y) at the top-left corner of every cell.
TRegion TriangleGridRegion(int W, int H, int a, int b);

}  // namespace pixvane
