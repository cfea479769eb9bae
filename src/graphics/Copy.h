#pragma once
#include <cstdint>

#include "graphics/Bitmap.h"
#include "graphics/Geometry.h"
#include "graphics/Region.h"

namespace pixvane {

// The drawing primitives of the transition engine. All of them copy pixels
// unchanged (the platform's plain source copy) and never draw outside the
// destination bitmap; source and destination are different bitmaps.

// Copies sourceRect of source to dest with its top-left corner at (x, y).
// Whatever lies outside either bitmap is left out, so negative positions
// and rectangles hanging over an edge are fine. A reversed sourceRect copies
// nothing; mirroring is StretchCopy's business.
void CopyRect(TBitmap& dest, int32_t x, int32_t y, const TBitmap& source, const TRect& sourceRect);

// Draws the whole source bitmap with its top-left corner at (x, y).
inline void Draw(TBitmap& dest, int32_t x, int32_t y, const TBitmap& source) {
  CopyRect(dest, x, y, source, source.Bounds());
}

// The copy D <- R of the styles: sourceRect of source, stretched onto
// destRect of dest, as the platform's StretchBlt does with a plain source
// copy. Each rectangle covers the pixels between its edges, in whichever
// order they come; an axis on which exactly one of the two rectangles is
// reversed (Left > Right, or Top > Bottom) is mirrored, so the source's
// first column lands on the destination's last one.
//
// Sampling is nearest-neighbour: destination column i of a W-wide
// destination (i = 0 at its left edge) takes source column
//   j = floor((i + 1/2) * w / W) = ((2i + 1) * w) div (2W)
// of the w-wide source (j = 0 at its left edge; counted from the right edge
// when mirrored), and rows likewise. So a 1:1 copy is exact, a 1:2
// enlargement doubles every pixel, and a 2:1 reduction takes every second
// pixel starting with the second. Destination pixels whose source pixel lies
// outside the source bitmap keep what they had; destination pixels outside
// the destination bitmap are cut off. Empty rectangles copy nothing.
void StretchCopy(TBitmap& dest, const TRect& destRect, const TBitmap& source,
                 const TRect& sourceRect);

// Draws the whole source bitmap at (x, y), but only into the pixels of clip
// (given in the destination's coordinates): the clip-and-draw of the region
// styles.
void DrawClipped(TBitmap& dest, int32_t x, int32_t y, const TBitmap& source, const TRegion& clip);

// The bitmap's pixels as 32-bit words, blue in the low byte and the top
// byte zero, rows one after the other without padding (out holds
// Width() * Height()): the layout of a 32-bit DIB, which the platform shows
// without converting each pixel itself, at a third of the cost. With threads
// above 1 the rows are shared out among them.
void CopyToWords(const TBitmap& source, uint32_t* out, int threads = 1);
// The rows top .. bottom of source as CopyToWords gives them, on one thread.
void CopyRowsToWords(const TBitmap& source, int32_t top, int32_t bottom, uint32_t* out);

}  // namespace pixvane
