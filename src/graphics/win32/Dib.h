#pragma once
#include <windows.h>

#include "graphics/Bitmap.h"

namespace pixvane {

// The header that describes a TBitmap's memory as a DIB: 24 bits, top-down
// (negative height), rows padded to 4 bytes as TBitmap pads them.
BITMAPINFO DibInfo(int32_t width, int32_t height);

// Draws the whole bitmap onto dc with its top-left corner at (x, y).
void DrawBitmap(HDC dc, int x, int y, const TBitmap& bitmap);

}  // namespace pixvane
