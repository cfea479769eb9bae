#pragma once
#include <cstdint>
#include <vector>

#include "graphics/Bitmap.h"

namespace pixvane::test {

// The four colours of the quadrant picture, top-left, top-right,
// bottom-left, bottom-right: far apart, so JPEG's small errors never blur
// one into another.
inline constexpr TColor QuadrantColors[4] = {RGBColor(220, 30, 30), RGBColor(30, 200, 40),
                                             RGBColor(30, 40, 220), RGBColor(240, 240, 240)};

// A JPEG file of width x height split into four flat quadrants.
std::vector<uint8_t> MakeQuadrantJpeg(int width, int height);

// True when two colours differ by at most tolerance in each channel.
bool NearColor(TColor a, TColor b, int tolerance = 24);

}  // namespace pixvane::test
