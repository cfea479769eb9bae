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

std::string TCaptionFont::FileFor(const std::string& face) {
  TFont regular;  // the player takes the face's regular weight
  regular.Name = face;
  return LiberationFontFile(regular);
}

TCaptionFont::TCaptionFont(const TFont& font) : FFace(new TFace), FColor(ColorOf(font)) {
  const std::string file = FileFor(font.Name);
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

void TCaptionFont::Draw(TBitmap& slide, int32_t x, int32_t y, const std::string& text) {
  const uint8_t colour[3] = {static_cast<uint8_t>(FColor >> 16), static_cast<uint8_t>(FColor >> 8),
                             static_cast<uint8_t>(FColor)};  // blue, green, red
  const int baseline = y + FFace->Ascent;
  for (unsigned char c : text) {
    if (FT_Load_Char(FFace->Face, c, FT_LOAD_RENDER)) continue;
    const FT_GlyphSlot glyph = FFace->Face->glyph;
    const FT_Bitmap& coverage = glyph->bitmap;
    for (unsigned row = 0; row < coverage.rows; ++row) {
      const int py = baseline - glyph->bitmap_top + static_cast<int>(row);
      if (py < 0 || py >= slide.Height()) continue;
      uint8_t* line = slide.ScanLine(py);
      for (unsigned col = 0; col < coverage.width; ++col) {
        const int px = x + glyph->bitmap_left + static_cast<int>(col);
        const int alpha = coverage.buffer[row * coverage.pitch + col];
        if (px < 0 || px >= slide.Width() || alpha == 0) continue;
        for (int k = 0; k < 3; ++k) {
          uint8_t& channel = line[3 * px + k];
          channel = static_cast<uint8_t>((colour[k] * alpha + channel * (255 - alpha) + 127) / 255);
        }
      }
    }
    x += static_cast<int32_t>((glyph->advance.x + 32) >> 6);
  }
}

}  // namespace pixvane::tool
