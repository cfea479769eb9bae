#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/Geometry.h"

namespace pixvane {

// The one text renderer of every room. The platform's rasteriser (FreeType
// with the Liberation stand-ins natively, GDI on Windows, chosen at link
// time) only measures a line and says how much of each pixel it covers;
// placing and blending are portable, so both platforms put the same boxes
// in the same places.

enum TFontStyle : uint32_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// What the rasteriser reads of a font, as the platform's LOGFONT has it. A
// new one is the platform's default font.
struct TTextFont {
  std::string Name = "MS Sans Serif";
  // Negative: the em in pixels; positive: the cell, ascent plus descent;
  // 0: the platform's default size.
  int32_t Height = -11;
  uint32_t Style = 0;   // TFontStyle bits
  int32_t Charset = 1;  // DEFAULT_CHARSET; the code page of the text on Windows
  friend bool operator==(const TTextFont&, const TTextFont&) = default;
};

// How much text covers each pixel of its box: 0 none, 255 all, row by row.
struct TCoverage {
  int32_t Width = 0, Height = 0;
  std::vector<uint8_t> Alpha;
};

// The box of a line as the platform measures it (GetTextExtentPoint32): the
// advances' sum by the font's ascent plus descent. Texts are 8-bit:
// Windows-1252 natively, the font's character set on Windows.
TPoint TextExtent(const TTextFont& font, std::string_view text);

// The line's coverage over that box, underline and strike-out included;
// rightToLeft asks for right-to-left reading.
TCoverage RasterizeText(const TTextFont& font, std::string_view text, bool rightToLeft = false);

// The same for UTF-8 text, drawn as Unicode: natively with fallback faces
// (Noto CJK, then DejaVu) for the characters Liberation lacks, on Windows
// through GDI's wide calls.
TPoint TextExtentUtf8(const TTextFont& font, std::string_view utf8);
TCoverage RasterizeUtf8(const TTextFont& font, std::string_view utf8);

// Blends coverage in one colour (00BBGGRR) into target, the box's top-left
// at (x, y), touching only the pixels inside clip.
void DrawCoverage(TBitmap& target, const TRect& clip, int32_t x, int32_t y,
                  const TCoverage& coverage, TColor color);

}  // namespace pixvane
