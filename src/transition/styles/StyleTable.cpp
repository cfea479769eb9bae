#include "transition/styles/StyleTable.h"

#include <cassert>

#include "transition/styles/Styles.h"

namespace pixvane {

namespace {

// A family's steps go into the table with the kind they all share.
void AddFamily(std::array<TStyle, StyleCount + 1>& table, void (*add)(TStepTable&),
               TStyleKind kind) {
  TStepTable steps{};
  add(steps);
  for (int style = 1; style <= StyleCount; ++style)
    if (steps[style]) table[style] = {kind, steps[style]};
}

}  // namespace

// The families only store the addresses of their steps, so the table is
// complete before anything can render a frame.
const std::array<TStyle, StyleCount + 1> StyleTable = [] {
  std::array<TStyle, StyleCount + 1> table{};  // entry 0: the custom style
  AddFamily(table, AddRectangleStyles, TStyleKind::Rectangle);
  AddFamily(table, AddShapeStyles, TStyleKind::Region);
  AddFamily(table, AddBandStyles, TStyleKind::Region);
  AddFamily(table, AddRaggedStyles, TStyleKind::Region);
  AddFamily(table, AddPixelStyles, TStyleKind::Pixel);
  AddFamily(table, AddSwingStyles, TStyleKind::Pixel);
  for (int style = 1; style <= StyleCount; ++style)
    assert(table[style].Step && "a style without a step");
  return table;
}();

}  // namespace pixvane
