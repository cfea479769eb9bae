#pragma once
#include <cstdint>

#include "graphics/Geometry.h"

namespace pixvane {

// A control's off-screen image grows in steps of 30 pixels, so that dragging
// a size by a few pixels does not remake it each time.
int32_t SkinBitmapExtent(int32_t controlExtent);
// True when an image of bitmapWidth x bitmapHeight no longer suits the control:
// the control has outgrown it, or it is more than a step too large.
bool SkinBitmapNeedsRemaking(int32_t bitmapWidth, int32_t bitmapHeight, int32_t width,
                             int32_t height);

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct TButtonContent {
  TRect Caption;
  TRect Glyph;  // empty without a glyph
};

// Where a button of width x height draws its caption (measured textWidth x
// textHeight) and its glyph (glyphWidth x glyphHeight, 0 x 0 for none): the
// two with spacing between them, centred, one pixel down and right while
// pressed.
TButtonContent ButtonContentOf(int32_t width, int32_t height, int32_t textWidth, int32_t textHeight,
                               int32_t glyphWidth, int32_t glyphHeight, TButtonLayout layout,
                               int32_t spacing, bool pressed);

struct TCheckBoxContent {
  TRect Box;
  TRect Caption;
  TRect Focus;  // the focus mark's frame
};

// The box at the left edge, centred vertically; the caption after it and the
// spacing, at the left of what remains and centred vertically. The focus
// mark frames the caption with one clear pixel beside the text, inside the
// control even where the caption fills its height.
TCheckBoxContent CheckBoxContentOf(int32_t width, int32_t height, int32_t boxWidth,
                                   int32_t boxHeight, int32_t spacing, int32_t textWidth,
                                   int32_t textHeight);

}  // namespace pixvane
