#pragma once
#include <SDL.h>

#include <cstdint>

#include "graphics/Bitmap.h"
#include "graphics/Geometry.h"

namespace pixvane {

// One row of blue, green, red bytes as 32-bit pixels 0xFFRRGGBB, the layout
// of the X server's usual 24-bit visual (and of ARGB8888, opaque): with
// SSSE3's byte shuffle where the processor has it, else BgrToXrgbRowPlain.
// Both give the same pixels.
void BgrToXrgbRow(const uint8_t* bgr, uint32_t* xrgb, int32_t count);
void BgrToXrgbRowPlain(const uint8_t* bgr, uint32_t* xrgb, int32_t count);

// Copies the part of area that lies on both frame and surface into the
// surface at the same place, converted to the surface's pixel format: a
// 32-bit surface of the usual layout by BgrToXrgbRow, any other through
// SDL's own conversion. Returns the rectangle copied (empty: none).
TRect CopyToSurface(const TBitmap& frame, const TRect& area, SDL_Surface& surface);

}  // namespace pixvane
