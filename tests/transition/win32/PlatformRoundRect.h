// What the comparisons with GDI need to know about the platform's rounded
// regions beyond what TRegion::RoundRect draws.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "graphics/Geometry.h"

namespace pixvane::test {

// Whether CreateRoundRectRgn defines every pixel of that rounded region.
// Its corner walk (the one TRegion::RoundRect steps through) ends once x has
// passed half the ellipse's width; on very narrow, tall ellipses (under
// about 11 pixels wide, limited to the rectangle) that is before the last
// rows of the corners, which then hold whatever memory held. Such a case
// cannot be compared; no style makes one.
inline bool RoundRectIsDefinedByPlatform(const TRect& rect, int32_t ellipseWidth,
                                         int32_t ellipseHeight) {
  TRect r = rect.Normalized();
  --r.Right;  // the region leaves out the last column and row
  --r.Bottom;
  const int64_t width = std::min<int64_t>(r.Width(), std::llabs(ellipseWidth));
  const int64_t height = std::min<int64_t>(r.Height(), std::llabs(ellipseHeight));
  if (width < 2 || height < 2) return true;  // a plain rectangle
  const int64_t a = width - 1, b = height - 1, oddB = b % 2;
  int64_t stepX = 4 * b * b * (1 - a);
  int64_t stepY = 4 * a * a * (1 + oddB);
  int64_t error = stepX + stepY + a * a * oddB;
  int64_t x = 0, row = height / 2;
  while (x <= width / 2) {
    const int64_t twice = 2 * error;
    if (twice >= stepX) {
      ++x;
      stepX += 8 * b * b;
      error += stepX;
    }
    if (twice <= stepY) {
      ++row;
      stepY += 8 * a * a;
      error += stepY;
    }
  }
  return row >= height - 1;
}

}  // namespace pixvane::test
