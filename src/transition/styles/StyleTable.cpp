#include "transition/styles/Styles.h"

namespace pixvane {

TStyleKind KindOfStyle(int style) {
  if (style == 0) return TStyleKind::Custom;
  if (style >= 1 && style <= 57) return TStyleKind::Rectangle;
  if (style >= 118 && style <= 122) return TStyleKind::Pixel;
  if (style >= 58 && style <= 127) return TStyleKind::Region;
  return TStyleKind::None;
}

// The families only store the addresses of their steps, so the table is
// complete before anything can render a frame.
const std::array<TStyleStep, 128> StyleSteps = [] {
  TStyleTable table{};
  AddRectangleStyles(table);
  AddShapeStyles(table);
  AddBandStyles(table);
  AddRaggedStyles(table);
  AddPixelStyles(table);
  AddSwingStyles(table);
  return table;
}();

}  // namespace pixvane
