#pragma once
#include <array>
#include <vector>

#include "transition/Frame.h"
#include "transition/styles/StyleTable.h"

namespace pixvane {

// The steps as the families fill them in: each family file puts the steps
// of its styles at their numbers, so a style reads as one entry next to its
// relatives. StyleTable.cpp adds the family's kind.
using TStepTable = std::array<TStyleStep, StyleCount + 1>;

void AddRectangleStyles(TStepTable& table);  // 1 to 57
void AddShapeStyles(TStepTable& table);      // rounded fronts and triangles
void AddBandStyles(TStepTable& table);       // straight bands of BandRegion
void AddRaggedStyles(TStepTable& table);     // random bands, grain and dissolve
void AddPixelStyles(TStepTable& table);      // the cross fade
void AddSwingStyles(TStepTable& table);      // the corner swings

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
