#pragma once
#include "graphics/Bitmap.h"

namespace pixvane {

// Style 118: every component of screen becomes ((100 - p) s) div 100 +
// (p n) div 100, s from the screen (the old screen) and n from the picture,
// the two terms truncated each on its own. The bitmaps have the same size.
void CrossFade(TBitmap& screen, const TBitmap& picture, int p);

}  // namespace pixvane
