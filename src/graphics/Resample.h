#pragma once
#include "graphics/Bitmap.h"
#include "graphics/Geometry.h"

namespace pixvane {

// Draws the whole source bitmap scaled smoothly onto placement of dest, but
// computes only the pixels of placement that lie inside clip and on dest:
// a picture cropped by its monitor costs only what shows.
//
// Each axis is filtered on its own with a three-lobed Lanczos filter:
// reducing, it widens to take in every source pixel under a destination
// pixel (so nothing aliases); enlarging, it interpolates between
// neighbours (so nothing looks blocky). Edges repeat their outer pixel.
// Photos are scaled once per slide, so this favours quality over the exact
// pixel rules the transition styles keep. With threads above 1 the rows are
// shared out among that many threads (the caller's one of them), for a
// slide that is waited for with every core idle; the pixels are the same.
void DrawScaled(TBitmap& dest, const TRect& clip, const TRect& placement, const TBitmap& source,
                int threads = 1);

// DrawScaled one channel at a time, as machines without SSE2 draw it: the
// bytes the fast path must match.
void DrawScaledPlain(TBitmap& dest, const TRect& clip, const TRect& placement,
                     const TBitmap& source);

// Draws the whole source bitmap onto the rectangle (left, top, width,
// height) of dest, given in fractions of a pixel, sampling bilinearly: the
// frames of a picture that pans and zooms, whose every position must move
// smoothly rather than in whole pixels. Only the pixels inside clip and on
// dest are drawn; beyond the source's edges its outer pixels repeat. Meant
// for scales near 1 (the source is prepared at the size it is shown at).
// With threads above 1 the rows are shared out as DrawScaled shares them:
// a 4K frame is more than one core samples 60 times a second.
void DrawBilinear(TBitmap& dest, const TRect& clip, double left, double top, double width,
                  double height, const TBitmap& source, int threads = 1);

}  // namespace pixvane
