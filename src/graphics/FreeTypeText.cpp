// The text renderer natively: FreeType with the Liberation fonts Debian ships
// (fonts-liberation), which keep the metrics of the Windows faces they stand
// in for, so lines measure as GDI measures them.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "base/AsciiText.h"
#include "base/CodePage.h"
#include "base/Errors.h"
#include "base/MulDiv.h"
#include "graphics/FontFiles.h"

namespace pixvane {
namespace {

constexpr const char* FontFolder = "/usr/share/fonts/truetype/liberation/";

}  // namespace

std::string LiberationFontFile(const TTextFont& font) {
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

// One face at one size, with the line box GDI would give it: the Windows
// ascent and descent of the face, scaled and rounded.
struct TSizedFace {
  FT_Face Face = nullptr;
  int32_t Ascent = 0, Descent = 0;
  int32_t Em = 0;
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
  // fonts at every paint, a show for its caption at every slide.
  TSizedFace& Get(const TTextFont& font) {
    if (!FLibrary && FT_Init_FreeType(&FLibrary)) throw EError("Cannot start FreeType");
    const std::string file = LiberationFontFile(font);
    auto& slot = FFaces[{file, font.Height}];
    if (!slot) slot = Open(file, font.Height);
    return *slot;
  }

  // The fallback faces at the em of a face of font, in the order they are
  // asked; files that are not installed are left out.
  const std::vector<TSizedFace*>& Fallbacks(const TTextFont& font, int32_t em) {
    const bool bold = font.Style & fsBold;
    auto& faces = FFallbacks[{bold, em}];
    if (!faces.empty()) return faces.front() ? faces : FNone;
    for (const char* name : FallbackFiles[bold]) {
      auto& slot = FFaces[{name, -em}];
      if (!slot) slot = Open(name, -em, false);
      if (slot) faces.push_back(slot.get());
    }
    if (faces.empty()) faces.push_back(nullptr);  // looked for once, found none
    return faces.front() ? faces : FNone;
  }

  std::mutex Lock;

 private:
  // Scripts Liberation lacks: Chinese, Japanese and Korean from Noto CJK,
  // and DejaVu's wide range of symbols and alphabets; regular, then bold.
  static constexpr const char* FallbackFiles[2][2] = {
      {"/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
       "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"},
      {"/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc",
       "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"}};

  std::unique_ptr<TSizedFace> Open(const std::string& file, int32_t height, bool required = true) {
    auto sized = std::make_unique<TSizedFace>();
    if (FT_New_Face(FLibrary, file.c_str(), 0, &sized->Face)) {
      if (!required) return nullptr;
      throw EError("Cannot open font " + file + " (install fonts-liberation)");
    }
    const FT_Face face = sized->Face;
    int32_t ascent = face->ascender, descent = -face->descender;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
      ascent = os2->usWinAscent;
      descent = os2->usWinDescent;
    }
    // Heights come from untrusted packages and skins: a line is never drawn
    // with an em beyond 1000 pixels.
    int64_t em = height < 0    ? -int64_t{height}
                 : height == 0 ? 11  // the platform's default size
                               : MulDiv(height, face->units_per_EM, ascent + descent);
    em = std::clamp<int64_t>(em, 1, 1000);
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em));
    sized->Em = static_cast<int32_t>(em);
    sized->Ascent = MulDiv(ascent, em, face->units_per_EM);
    sized->Descent = MulDiv(descent, em, face->units_per_EM);
    return sized;
  }

  FT_Library FLibrary = nullptr;
  std::map<std::pair<std::string, int32_t>, std::unique_ptr<TSizedFace>> FFaces;
  std::map<std::pair<bool, int32_t>, std::vector<TSizedFace*>> FFallbacks;
  const std::vector<TSizedFace*> FNone{};
};

TFaceCache& Cache() {
  static TFaceCache cache;
  return cache;
}

// The characters of a line: 8-bit text is Windows-1252, whose 80-9F range
// holds punctuation and the euro sign that FreeType finds only by their
// Unicode code points.
std::u32string CodePoints(std::string_view text, bool utf8) {
  std::u32string points;
  if (utf8) {
    for (size_t i = 0; i < text.size();) points += NextUtf8(text, i);
  } else {
    for (unsigned char c : text) points += AnsiToCodePoint(c);
  }
  return points;
}

// A line laid out: each character's face, so measuring and drawing agree.
struct TLine {
  std::vector<std::pair<FT_Face, char32_t>> Glyphs;
  int32_t Width = 0;
};

// The font's own face for every character it has; the first fallback that
// has it otherwise; the font's missing-glyph box when none has it.
TLine Layout(const TTextFont& font, TSizedFace& sized, std::string_view text, bool utf8) {
  TLine line;
  const std::vector<TSizedFace*>* fallbacks = nullptr;
  for (char32_t c : CodePoints(text, utf8)) {
    FT_Face face = sized.Face;
    if (!FT_Get_Char_Index(face, c)) {
      if (!fallbacks) fallbacks = &Cache().Fallbacks(font, sized.Em);
      for (TSizedFace* other : *fallbacks)
        if (FT_Get_Char_Index(other->Face, c)) {
          face = other->Face;
          break;
        }
    }
    if (FT_Load_Char(face, c, FT_LOAD_DEFAULT)) continue;
    line.Glyphs.emplace_back(face, c);
    line.Width += static_cast<int32_t>((face->glyph->advance.x + 32) >> 6);
  }
  return line;
}

// Underline and strike-out lines across the box, as GDI draws them: where
// the face puts the underline, at least a pixel thick, and the strike-out
// three tenths of the ascent above the baseline.
void DrawLines(const TSizedFace& sized, uint32_t style, TCoverage& mask) {
  const FT_Face face = sized.Face;
  const int32_t thickness = std::max(
      1,
      static_cast<int32_t>(FT_MulFix(face->underline_thickness, face->size->metrics.y_scale) >> 6));
  auto line = [&](int32_t top) {
    for (int32_t y = std::max(top, 0); y < std::min(top + thickness, mask.Height); ++y)
      std::fill_n(mask.Alpha.begin() + static_cast<ptrdiff_t>(y) * mask.Width, mask.Width, 255);
  };
  if (style & fsUnderline)
    line(sized.Ascent - static_cast<int32_t>(
                            FT_MulFix(face->underline_position, face->size->metrics.y_scale) >> 6));
  if (style & fsStrikeOut) line(sized.Ascent - sized.Ascent * 3 / 10);
}

}  // namespace

namespace {

TPoint Extent(const TTextFont& font, std::string_view text, bool utf8) {
  std::lock_guard lock(Cache().Lock);
  TSizedFace& sized = Cache().Get(font);
  return {Layout(font, sized, text, utf8).Width, sized.Ascent + sized.Descent};
}

TCoverage Rasterize(const TTextFont& font, std::string_view text, bool utf8, bool rightToLeft) {
  std::lock_guard lock(Cache().Lock);
  TSizedFace& sized = Cache().Get(font);
  TLine line = Layout(font, sized, text, utf8);
  TCoverage mask;
  mask.Width = line.Width;
  mask.Height = sized.Ascent + sized.Descent;
  mask.Alpha.assign(static_cast<size_t>(mask.Width) * mask.Height, 0);
  // Right-to-left reading only reverses the order of the characters.
  if (rightToLeft) std::reverse(line.Glyphs.begin(), line.Glyphs.end());
  int32_t x = 0;
  for (const auto& [face, c] : line.Glyphs) {
    if (FT_Load_Char(face, c, FT_LOAD_RENDER)) continue;
    const FT_GlyphSlot glyph = face->glyph;
    const FT_Bitmap& bitmap = glyph->bitmap;
    // Every face sits on the font's own baseline.
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      const int32_t y = sized.Ascent - glyph->bitmap_top + static_cast<int32_t>(row);
      if (y < 0 || y >= mask.Height) continue;
      for (unsigned col = 0; col < bitmap.width; ++col) {
        const int32_t px = x + glyph->bitmap_left + static_cast<int32_t>(col);
        if (px < 0 || px >= mask.Width) continue;
        uint8_t& cell = mask.Alpha[static_cast<size_t>(y) * mask.Width + px];
        cell = std::max(cell, bitmap.buffer[row * bitmap.pitch + col]);
      }
    }
    x += static_cast<int32_t>((glyph->advance.x + 32) >> 6);
  }
  DrawLines(sized, font.Style, mask);
  return mask;
}

}  // namespace

TPoint TextExtent(const TTextFont& font, std::string_view text) {
  return Extent(font, text, false);
}

TCoverage RasterizeText(const TTextFont& font, std::string_view text, bool rightToLeft) {
  return Rasterize(font, text, false, rightToLeft);
}

TPoint TextExtentUtf8(const TTextFont& font, std::string_view utf8) {
  return Extent(font, utf8, true);
}

TCoverage RasterizeUtf8(const TTextFont& font, std::string_view utf8) {
  return Rasterize(font, utf8, true, false);
}

}  // namespace pixvane
