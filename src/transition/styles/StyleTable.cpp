#include "transition/Frame.h"

namespace pixvane {

TStyleKind KindOfStyle(int style) {
  if (style == 0) return TStyleKind::Custom;
  if (style >= 1 && style <= 57) return TStyleKind::Rectangle;
  if (style >= 118 && style <= 122) return TStyleKind::Pixel;
  if (style >= 58 && style <= 127) return TStyleKind::Region;
  return TStyleKind::None;
}

// Filled in style by style; each entry is a few lines in styles/.
const std::array<TStyleStep, 128> StyleSteps = {};

}  // namespace pixvane
