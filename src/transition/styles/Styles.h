#pragma once
#include <array>
#include <vector>

#include "transition/Frame.h"

namespace pixvane {

// The style table as the families fill it in: each family file puts the
// steps of its styles at their numbers, so a style reads as one entry next
// to its relatives.
using TStyleTable = std::array<TStyleStep, 128>;

void AddRectangleStyles(TStyleTable& table);  // 1 to 57
void AddShapeStyles(TStyleTable& table);      // rounded fronts and triangles
void AddBandStyles(TStyleTable& table);       // straight bands of BandRegion
void AddRaggedStyles(TStyleTable& table);     // random bands, grain and dissolve
void AddPixelStyles(TStyleTable& table);      // the cross fade
void AddSwingStyles(TStyleTable& table);      // the corner swings

// half(x): x div 2, truncated toward zero as the tables mean it.
constexpr int Half(int x) {
  return x / 2;
}

// Region builders collect their rectangles and make the union in one go
// (TRegion::FromRects), which covers the same pixels as uniting one
// CreateRectRgn after another but without thousands of region copies. A
// rectangle with reversed edges covers what it covers with the edges put in
// order, as CreateRectRgn reads it.
inline void Unite(std::vector<TRect>& pieces, const TRect& rect) {
  pieces.push_back(rect.Normalized());
}

}  // namespace pixvane
