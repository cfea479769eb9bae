#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "graphics/Geometry.h"
#include "graphics/Text.h"
#include "package/Font.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinTypes.h"

namespace pixvane {

// Single-line text of skin objects, through the text renderer
// (graphics/Text.h): placing in the object's rectangle and blending into a
// 32-bit target are ours.

// How a text is placed in its rectangle.
struct TTextPlacement {
  TSkinTextAlign Align = taLeft;
  bool RightToLeftReading = false;
};

// Draws one line in the colour (00BBGGRR) at its place in rect, cut to rect
// and the target, as DrawText with DT_SINGLELINE does.
void DrawSkinText(TSkinBitmap& target, const TRect& rect, std::string_view text, const TFont& font,
                  TColor color, TTextPlacement placement);

// The longest beginning of text that, with "..." after it, fits width, with
// the "..."; the text itself when it fits; "..." when no character fits.
std::string EllipsisText(const TFont& font, const std::string& text, int32_t width);

// The alignment with left and right exchanged (centred stays centred).
TSkinTextAlign MirroredAlign(TSkinTextAlign align);

}  // namespace pixvane
