#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/Geometry.h"
#include "package/Font.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinTypes.h"

namespace pixvane {

// Single-line text of skin objects. The platform's font rasteriser (FreeType
// with Debian's Liberation fonts natively, GDI on Windows) only measures and
// gives coverage; placement, clipping and blending are ours, so both draw
// the same boxes in the same places.

// A line of text as coverage, one byte a pixel (0 none, 255 full), the size
// of the line's box: the advances' sum by the font's ascent plus descent.
struct TTextMask {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint8_t> Coverage;
};

// The box of a line, as the platform measures it (GetTextExtentPoint32).
// Texts are 8-bit, in the Windows-1252 code page.
TPoint TextExtent(const TFont& font, std::string_view text);
// The coverage of a line; rightToLeft asks for right-to-left reading.
TTextMask RasterizeText(const TFont& font, std::string_view text, bool rightToLeft);

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
