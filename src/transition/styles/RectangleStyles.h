#pragma once
#include "graphics/Bitmap.h"
#include "graphics/Geometry.h"

namespace pixvane {

// The flap of styles 14, 15, 31 and 32: half the distance covered while
// that is under a fifth of the frame, half the distance left near the end,
// a tenth of the frame in between. length is W or H, progress PX or PY.
int FlapWidth(int length, int progress);

// Draws picture rectangle r turned over onto screen rectangle d (along x, or
// along y when vertical). r is first cut to the picture; d is handed to the
// stretching copy with its two edges exchanged and each moved one pixel
// outward, so the turned strip covers one pixel more on each side than d.
// Returns the area the strip covers.
TRect MirrorCopy(TBitmap& screen, const TBitmap& picture, const TRect& d, const TRect& r,
                 bool vertical);

}  // namespace pixvane
