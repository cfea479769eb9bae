#pragma once
#include <cstdint>

#include "skin/SkinBitmap.h"

namespace pixvane {

// The hue delta's colour rule: a turn of the HSL hue by delta degrees
// (any integer; 360 is a full turn), keeping saturation and lightness.
// Greys have no hue and stay as they are.

// A stored colour: RGB colours (00BBGGRR) turn; system and special colours
// (high byte set) are left alone, as the system draws them.
int32_t ShiftColorHue(int32_t color, int32_t delta);

// Every pixel of a bitmap whose alpha is not 0 (TransparentKey stays).
void ShiftBitmapHue(TSkinBitmap& bitmap, int32_t delta);

}  // namespace pixvane
