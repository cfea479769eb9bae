#include "tools/pixvane/CaptionFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <filesystem>

#include "base/MulDiv.h"
#include "skin/FontFiles.h"
#include "tools/pixvane/ToolError.h"

namespace pixvane::tool {
namespace {

// The player converts the stored height to points and back at the screen's
// resolution; the tool's screen is the usual 96 dpi.
int PixelHeight(const TFont& font) {
  constexpr int Ppi = 96;
  int points = -MulDiv(font.Height, 72, Ppi);
  return std::max(1, std::abs(MulDiv(points, Ppi, 72)));
}

// A system colour (negative) is taken at its Windows default; the caption's
// usual one, window text, is black.
uint32_t ColorOf(const TFont& font) {
  return font.Color < 0 ? 0 : static_cast<uint32_t>(font.Color) & 0xFFFFFF;
}

}  // namespace

struct TCaptionFont::TFace {
  FT_Library Library = nullptr;
  FT_Face Face = nullptr;
  int Ascent = 0, Descent = 0;
  ~TFace() {
    if (Face) FT_Done_Face(Face);
    if (Library) FT_Done_FreeType(Library);
  }
};

std::string TCaptionFont::FileFor(const std::string& face, uint32_t style) {
  TFont font;
  font.Name = face;
  font.Style = style;
  return LiberationFontFile(font);
}

TCaptionFont::TCaptionFont(const TFont& font)
    : FFace(new TFace), FColor(ColorOf(font)), FStyle(font.Style) {
  const std::string file = FileFor(font.Name, font.Style);
  if (FT_Init_FreeType(&FFace->Library) ||
      FT_New_Face(FFace->Library, file.c_str(), 0, &FFace->Face))
    throw EToolError("cannot draw the caption: no font " + file + " (install fonts-liberation)");
  const int pixels = PixelHeight(font);
  FT_Set_Pixel_Sizes(FFace->Face, 0, static_cast<FT_UInt>(pixels));
  // GDI's text height is the Windows ascent and descent, scaled and rounded.
  const FT_Face face = FFace->Face;
  int ascent = face->ascender, descent = -face->descender;
  if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
    ascent = os2->usWinAscent;
    descent = os2->usWinDescent;
  }
  FFace->Ascent = MulDiv(ascent, pixels, face->units_per_EM);
  FFace->Descent = MulDiv(descent, pixels, face->units_per_EM);
}

TCaptionFont::~TCaptionFont() = default;

void TCaptionFont::Measure(const std::string& text, int32_t& cx, int32_t& cy) {
  cx = 0;
  for (unsigned char c : text)
    if (!FT_Load_Char(FFace->Face, c, FT_LOAD_DEFAULT))
      cx += static_cast<int32_t>((FFace->Face->glyph->advance.x + 32) >> 6);
  cy = FFace->Ascent + FFace->Descent;
}

TCoverage TCaptionFont::Coverage(const std::string& text) {
  TCoverage coverage;
  Measure(text, coverage.Width, coverage.Height);
  coverage.Alpha.assign(static_cast<size_t>(coverage.Width) * coverage.Height, 0);
  auto cover = [&](int px, int py, int alpha) {
    if (px < 0 || px >= coverage.Width || py < 0 || py >= coverage.Height) return;
    uint8_t& a = coverage.Alpha[static_cast<size_t>(py) * coverage.Width + px];
    a = static_cast<uint8_t>(std::max<int>(a, alpha));
  };
  int x = 0;
  for (unsigned char c : text) {
    if (FT_Load_Char(FFace->Face, c, FT_LOAD_RENDER)) continue;
    const FT_GlyphSlot glyph = FFace->Face->glyph;
    const FT_Bitmap& bitmap = glyph->bitmap;
    for (unsigned row = 0; row < bitmap.rows; ++row)
      for (unsigned col = 0; col < bitmap.width; ++col)
        cover(x + glyph->bitmap_left + static_cast<int>(col),
              FFace->Ascent - glyph->bitmap_top + static_cast<int>(row),
              bitmap.buffer[row * bitmap.pitch + col]);
    x += static_cast<int>((glyph->advance.x + 32) >> 6);
  }
  // Lines where the face puts them, at least a pixel thick, across the box.
  const FT_Face face = FFace->Face;
  const int thickness = std::max(
      1, static_cast<int>(FT_MulFix(face->underline_thickness, face->size->metrics.y_scale) >> 6));
  auto line = [&](int top) {
    for (int py = top; py < top + thickness; ++py)
      for (int px = 0; px < coverage.Width; ++px) cover(px, py, 255);
  };
  if (FStyle & fsUnderline)
    line(FFace->Ascent -
         static_cast<int>(FT_MulFix(face->underline_position, face->size->metrics.y_scale) >> 6));
  if (FStyle & fsStrikeOut) line(FFace->Ascent - FFace->Ascent * 3 / 10);
  return coverage;
}

void TCaptionFont::Draw(TBitmap& slide, const TRect& clip, int32_t x, int32_t y,
                        const std::string& text) {
  const uint8_t colour[3] = {static_cast<uint8_t>(FColor >> 16), static_cast<uint8_t>(FColor >> 8),
                             static_cast<uint8_t>(FColor)};  // blue, green, red
  const TCoverage coverage = Coverage(text);
  const TRect area = TRect{x, y, x + coverage.Width, y + coverage.Height}.Intersect(clip).Intersect(
      slide.Bounds());
  for (int32_t py = area.Top; py < area.Bottom; ++py) {
    uint8_t* out = slide.ScanLine(py) + area.Left * 3;
    const uint8_t* alphas = &coverage.Alpha[static_cast<size_t>(py - y) * coverage.Width];
    for (int32_t px = area.Left; px < area.Right; ++px, out += 3) {
      const int alpha = alphas[px - x];
      for (int k = 0; k < 3 && alpha; ++k)
        out[k] = static_cast<uint8_t>((colour[k] * alpha + out[k] * (255 - alpha) + 127) / 255);
    }
  }
}

}  // namespace pixvane::tool
