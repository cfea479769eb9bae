// The skin's text natively: FreeType with the Liberation fonts Debian ships
// (fonts-liberation), which keep the metrics of the Windows faces they
// stand in for, so boxes measure as GDI measures them.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

#include "base/AsciiText.h"
#include "base/Errors.h"
#include "base/MulDiv.h"
#include "skin/FontFiles.h"
#include "skin/SkinText.h"

namespace pixvane {
namespace {

constexpr const char* FontFolder = "/usr/share/fonts/truetype/liberation/";

}  // namespace

std::string LiberationFontFile(const TFont& font) {
  const std::string face = AsciiLowerCase(font.Name);
  std::string family = "LiberationSans";
  if (face == "times new roman" || face == "times")
    family = "LiberationSerif";
  else if (face == "courier new" || face == "courier")
    family = "LiberationMono";
  const bool bold = font.Style & fsBold, italic = font.Style & fsItalic;
  const char* variant = bold && italic ? "-BoldItalic"
                        : bold         ? "-Bold"
                        : italic       ? "-Italic"
                                       : "-Regular";
  return std::string(FontFolder) + family + variant + ".ttf";
}

namespace {

// One face at one size, with the line box GDI would give it.
struct TSizedFace {
  FT_Face Face = nullptr;
  int32_t Ascent = 0, Descent = 0;
  ~TSizedFace() {
    if (Face) FT_Done_Face(Face);
  }
};

class TFaceCache {
 public:
  ~TFaceCache() {
    FFaces.clear();
    if (FLibrary) FT_Done_FreeType(FLibrary);
  }

  // Faces stay open for the process: a dialog asks for the same two or three
  // fonts at every paint.
  TSizedFace& Get(const TFont& font) {
    if (!FLibrary && FT_Init_FreeType(&FLibrary)) throw EError("Cannot start FreeType");
    const std::string file = LiberationFontFile(font);
    auto& slot = FFaces[{file, font.Height}];
    if (!slot) slot = Open(file, font.Height);
    return *slot;
  }

  std::mutex Lock;

 private:
  std::unique_ptr<TSizedFace> Open(const std::string& file, int32_t height) {
    auto sized = std::make_unique<TSizedFace>();
    if (FT_New_Face(FLibrary, file.c_str(), 0, &sized->Face))
      throw EError("Cannot open font " + file + " (install fonts-liberation)");
    const FT_Face face = sized->Face;
    int32_t ascent = face->ascender, descent = -face->descender;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
      ascent = os2->usWinAscent;
      descent = os2->usWinDescent;
    }
    // A negative height is the em in pixels, a positive one the whole cell,
    // as the platform reads a font's height.
    int64_t em = height < 0    ? -int64_t{height}
                 : height == 0 ? 11  // the platform's default size
                               : MulDiv(height, face->units_per_EM, ascent + descent);
    em = std::clamp<int64_t>(em, 1, 1000);
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em));
    sized->Ascent = MulDiv(ascent, em, face->units_per_EM);
    sized->Descent = MulDiv(descent, em, face->units_per_EM);
    return sized;
  }

  FT_Library FLibrary = nullptr;
  std::map<std::pair<std::string, int32_t>, std::unique_ptr<TSizedFace>> FFaces;
};

TFaceCache& Cache() {
  static TFaceCache cache;
  return cache;
}

// Windows-1252 bytes to the characters FreeType maps; the 80-9F range holds
// the code page's own punctuation.
FT_ULong CharCode(unsigned char c) {
  static constexpr uint16_t High[32] = {
      0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
  return c >= 0x80 && c < 0xA0 ? High[c - 0x80] : c;
}

int32_t Advance(FT_Face face) {
  return static_cast<int32_t>((face->glyph->advance.x + 32) >> 6);
}

}  // namespace

TPoint TextExtent(const TFont& font, std::string_view text) {
  std::lock_guard lock(Cache().Lock);
  TSizedFace& sized = Cache().Get(font);
  int32_t width = 0;
  for (unsigned char c : text)
    if (!FT_Load_Char(sized.Face, CharCode(c), FT_LOAD_DEFAULT)) width += Advance(sized.Face);
  return {width, sized.Ascent + sized.Descent};
}

TTextMask RasterizeText(const TFont& font, std::string_view text, bool rightToLeft) {
  std::lock_guard lock(Cache().Lock);
  TSizedFace& sized = Cache().Get(font);
  const FT_Face face = sized.Face;
  TTextMask mask;
  for (unsigned char c : text)
    if (!FT_Load_Char(face, CharCode(c), FT_LOAD_DEFAULT)) mask.Width += Advance(face);
  mask.Height = sized.Ascent + sized.Descent;
  mask.Coverage.assign(static_cast<size_t>(mask.Width) * mask.Height, 0);
  // Right-to-left reading of 8-bit Latin text only reverses the order of the
  // characters.
  std::string order(text);
  if (rightToLeft) std::reverse(order.begin(), order.end());
  int32_t x = 0;
  for (unsigned char c : order) {
    if (FT_Load_Char(face, CharCode(c), FT_LOAD_RENDER)) continue;
    const FT_GlyphSlot glyph = face->glyph;
    const FT_Bitmap& bitmap = glyph->bitmap;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      const int32_t y = sized.Ascent - glyph->bitmap_top + static_cast<int32_t>(row);
      if (y < 0 || y >= mask.Height) continue;
      for (unsigned col = 0; col < bitmap.width; ++col) {
        const int32_t px = x + glyph->bitmap_left + static_cast<int32_t>(col);
        if (px < 0 || px >= mask.Width) continue;
        uint8_t& cell = mask.Coverage[static_cast<size_t>(y) * mask.Width + px];
        cell = std::max(cell, bitmap.buffer[row * bitmap.pitch + col]);
      }
    }
    x += Advance(face);
  }
  // Underline and strike-out lines, one pixel per 14 of em as GDI thickens them.
  const int32_t thickness = std::max(1, (sized.Ascent + sized.Descent) / 14);
  auto line = [&](int32_t top) {
    for (int32_t y = std::max(top, 0); y < std::min(top + thickness, mask.Height); ++y)
      std::fill_n(mask.Coverage.begin() + static_cast<ptrdiff_t>(y) * mask.Width, mask.Width, 255);
  };
  if (font.Style & fsUnderline) line(sized.Ascent + 1);
  if (font.Style & fsStrikeOut) line(sized.Ascent * 2 / 3);
  return mask;
}

}  // namespace pixvane
