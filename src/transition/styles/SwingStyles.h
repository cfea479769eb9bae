#pragma once
#include "graphics/Bitmap.h"

namespace pixvane {

// The angle of the swing at progress p: (100 - p) pi / 200, worked out in
// extended precision and handed on as a double; a quarter turn at p = 0,
// none at p = 100.
double SwingAngle(int p);

// Styles 119 to 122: the picture turned by angle about the pivot (cx, cy).
// Screen pixel (x, y) takes picture pixel (u, v), u = round(dx c - dy s) +
// cx and v = round(dx s + dy c) + cy with dx = x - cx, dy = y - cy, s and c
// the sine and cosine of angle and halves rounded to even; pixels whose
// (u, v) falls outside the picture keep the screen. Screen and picture have
// the same size.
void CornerSwing(TBitmap& screen, const TBitmap& picture, int cx, int cy, double angle);

}  // namespace pixvane
