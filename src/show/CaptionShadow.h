#pragma once
#include <cstdint>

#include "graphics/Bitmap.h"
#include "graphics/Geometry.h"
#include "graphics/Text.h"

namespace pixvane {

// Darkens the slide under and around text whose box has its top-left corner
// at (x, y): the text's coverage, widened and blurred in proportion to its
// height and moved a little down and right, so light text reads on a bright
// photo. Only pixels inside clip change.
void DrawShadow(TBitmap& slide, const TRect& clip, int32_t x, int32_t y, const TCoverage& text);

}  // namespace pixvane
