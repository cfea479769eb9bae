#pragma once
#include <cstdint>

#include "graphics/Bitmap.h"
#include "graphics/Color.h"
#include "graphics/Geometry.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinTypes.h"

namespace pixvane {

// The drawing primitives of skin objects, all into a 32-bit target and all
// clipped to it: clip, early out, then row loops that pick their pixel path
// once per run.

// Fills the part of rect that lies on the target, opaque.
void FillSkinRect(TSkinBitmap& target, const TRect& rect, TColor color);

// Draws the part sourceRect of source into dest by style: tsTile repeats it
// from dest's top-left corner (cut at the right and bottom), tsStretch scales
// it (nearest pixel, as the platform's blit does), tsCenter draws it once,
// unscaled, centred on dest. Source pixels of alpha 0 are skipped, alpha 255
// copied, others blended per channel. A source rectangle reaching outside
// the source is cut to it first: links come from untrusted skins.
void DrawSkinPart(TSkinBitmap& target, const TRect& dest, const TSkinBitmap& source,
                  const TRect& sourceRect, TSkinTileStyle style);

// The margins of a nine-part box: fixed borders of the source rectangle.
struct TBoxMargins {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool IsZero() const { return !Left && !Top && !Right && !Bottom; }
};

// A nine-part box: the centre with style, the edges with borderStyle, the
// corners unscaled. All margins 0 draws like DrawSkinPart.
void DrawSkinBox(TSkinBitmap& target, const TRect& dest, const TSkinBitmap& source,
                 const TRect& sourceRect, const TBoxMargins& margins, TSkinTileStyle style,
                 TSkinTileStyle borderStyle);

}  // namespace pixvane
