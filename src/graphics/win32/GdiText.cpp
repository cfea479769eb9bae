// The text renderer on Windows: GDI measures and draws the line, white on
// black in a 32-bit DIB section, and the green channel is the coverage the
// portable side blends in the text's colour. Grey-scale smoothing (never
// ClearType), so coverage is one value per pixel.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "base/CodePage.h"
#include "base/Errors.h"
#include "base/win32/Handles.h"
#include "graphics/Text.h"

namespace pixvane {
namespace {

TGdiFont MakeFont(const TTextFont& font) {
  LOGFONTA log{};
  log.lfHeight = font.Height;
  log.lfWeight = font.Style & fsBold ? FW_BOLD : FW_NORMAL;
  log.lfItalic = (font.Style & fsItalic) != 0;
  log.lfUnderline = (font.Style & fsUnderline) != 0;
  log.lfStrikeOut = (font.Style & fsStrikeOut) != 0;
  log.lfCharSet = static_cast<BYTE>(font.Charset);
  log.lfQuality = ANTIALIASED_QUALITY;
  lstrcpynA(log.lfFaceName, font.Name.c_str(), LF_FACESIZE);
  return TGdiFont(CreateFontIndirectA(&log));
}

// A memory DC with the font selected, for as long as it lives.
struct TFontDC {
  explicit TFontDC(const TTextFont& font) : Font(MakeFont(font)), Selected(DC.Get(), Font.Get()) {
    if (!DC.Get()) throw EError("Can't create compatible DC");
  }
  TMemoryDC DC;
  TGdiFont Font;
  TSelection Selected;
};

// The line's box; an empty line is as high as the font.
SIZE Extent(HDC dc, std::string_view text) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  if (text.empty()) {
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    size.cy = metrics.tmHeight;
  }
  return size;
}

// What draw paints white on black into a box of size on dc, as coverage.
template <typename TDraw>
TCoverage Coverage(HDC dc, SIZE size, TDraw draw) {
  TCoverage mask;
  mask.Width = std::max<LONG>(0, size.cx);
  mask.Height = std::max<LONG>(0, size.cy);
  mask.Alpha.assign(static_cast<size_t>(mask.Width) * mask.Height, 0);
  if (mask.Alpha.empty()) return mask;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = mask.Width;
  info.bmiHeader.biHeight = -mask.Height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  TGdiBitmap dib(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib) throw EError("Can't allocate the DIB handle");
  {
    TSelection selected(dc, dib.Get());
    std::memset(bits, 0, mask.Alpha.size() * 4);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    draw();
    GdiFlush();
  }
  const auto* pixels = static_cast<const uint8_t*>(bits);
  for (size_t i = 0; i < mask.Alpha.size(); ++i) mask.Alpha[i] = pixels[4 * i + 1];
  return mask;
}

// Faces of Windows (and the fonts Wine finds on its host) for scripts a
// caption's font may lack, tried in this order for each such character.
constexpr const char* FallbackFaces[] = {"Segoe UI Symbol",  "Microsoft YaHei", "Yu Gothic",
                                         "Malgun Gothic",    "SimSun",          "MS Gothic",
                                         "Noto Sans CJK JP", "DejaVu Sans"};

// A Unicode line in runs of one face each: the font's own where it has the
// characters, else the first fallback face that has them. GDI links fonts
// only on some systems and not for every face, so the caption does it.
class TWideLine {
 public:
  TWideLine(const TTextFont& font, std::string_view utf8) : FText(Wide(utf8)) {
    if (!FDC.Get()) throw EError("Can't create compatible DC");
    Measure(ChooseFaces(font));
  }

  SIZE Size() const { return FSize; }

  void Draw() const {
    int x = 0;
    for (const TRun& run : FRuns) {
      TSelection selected(FDC.Get(), FFonts[run.Face].Get());
      ExtTextOutW(FDC.Get(), x, FAscent - run.Ascent, 0, nullptr, FText.c_str() + run.Start,
                  static_cast<UINT>(run.Advances.size()), run.Advances.data());
      x += run.Width;
    }
  }

  HDC DC() const { return FDC.Get(); }

 private:
  struct TRun {
    size_t Start = 0, Face = 0;
    std::vector<int> Advances;
    int Width = 0, Ascent = 0;
  };

  static std::wstring Wide(std::string_view utf8) {
    const std::u16string wide = Utf8ToUtf16(utf8);
    return std::wstring(wide.begin(), wide.end());
  }

  std::vector<bool> HasGlyphs(HFONT font) const {
    TSelection selected(FDC.Get(), font);
    std::vector<WORD> glyphs(FText.size());
    GetGlyphIndicesW(FDC.Get(), FText.c_str(), static_cast<int>(FText.size()), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    std::vector<bool> has(FText.size());
    for (size_t i = 0; i < glyphs.size(); ++i) has[i] = glyphs[i] != 0xFFFF;
    return has;
  }

  // The face of each character, as an index into FFonts: 0 the font's own.
  std::vector<size_t> ChooseFaces(const TTextFont& font) {
    FFonts.push_back(MakeFont(font));
    std::vector<size_t> faces(FText.size(), SIZE_MAX);  // SIZE_MAX: no face has it yet
    for (size_t face = 0; face <= std::size(FallbackFaces); ++face) {
      if (face > 0) {
        TTextFont fallback = font;
        fallback.Name = FallbackFaces[face - 1];
        fallback.Charset = DEFAULT_CHARSET;
        FFonts.push_back(MakeFont(fallback));
      }
      const std::vector<bool> has = HasGlyphs(FFonts.back().Get());
      size_t open = 0;
      for (size_t i = 0; i < FText.size(); ++i) {
        if (faces[i] == SIZE_MAX && has[i]) faces[i] = face;
        open += faces[i] == SIZE_MAX;
      }
      if (open == 0) break;
    }
    for (size_t& face : faces)
      if (face == SIZE_MAX) face = 0;  // the font's own missing-glyph box
    return faces;
  }

  // Each run measured in its face; drawn at these advances, as 8-bit text is.
  void Measure(const std::vector<size_t>& faces) {
    TEXTMETRICW metrics{};
    {
      TSelection selected(FDC.Get(), FFonts[0].Get());
      GetTextMetricsW(FDC.Get(), &metrics);
    }
    FAscent = metrics.tmAscent;
    FSize = {0, metrics.tmHeight};
    for (size_t start = 0, end; start < FText.size(); start = end) {
      for (end = start + 1; end < FText.size() && faces[end] == faces[start];) ++end;
      TRun run{start, faces[start], std::vector<int>(end - start)};
      TSelection selected(FDC.Get(), FFonts[run.Face].Get());
      SIZE size{};
      GetTextExtentExPointW(FDC.Get(), FText.c_str() + start, static_cast<int>(end - start), 0,
                            nullptr, run.Advances.data(), &size);
      for (size_t i = run.Advances.size(); i-- > 1;) run.Advances[i] -= run.Advances[i - 1];
      TEXTMETRICW own{};
      GetTextMetricsW(FDC.Get(), &own);
      run.Width = size.cx;
      run.Ascent = own.tmAscent;
      FSize.cx += size.cx;
      FRuns.push_back(std::move(run));
    }
  }

  TMemoryDC FDC;
  std::wstring FText;
  std::vector<TGdiFont> FFonts;
  std::vector<TRun> FRuns;
  SIZE FSize{};
  int FAscent = 0;
};

}  // namespace

TPoint TextExtent(const TTextFont& font, std::string_view text) {
  TFontDC dc(font);
  const SIZE size = Extent(dc.DC.Get(), text);
  return {size.cx, size.cy};
}

TCoverage RasterizeText(const TTextFont& font, std::string_view text, bool rightToLeft) {
  TFontDC dc(font);
  // Drawn at the advances measured here: Wine places the hinted glyphs of
  // small fonts off those advances, and the mask is only as wide as the
  // measured line, so a glyph placed past it would be cut off.
  SIZE size{};
  std::vector<int> advances(text.size());
  GetTextExtentExPointA(dc.DC.Get(), text.data(), static_cast<int>(text.size()), 0, nullptr,
                        advances.data(), &size);
  for (size_t i = advances.size(); i-- > 1;) advances[i] -= advances[i - 1];
  return Coverage(dc.DC.Get(), size, [&] {
    ExtTextOutA(dc.DC.Get(), 0, 0, rightToLeft ? ETO_RTLREADING : 0, nullptr, text.data(),
                static_cast<UINT>(text.size()), advances.data());
  });
}

TPoint TextExtentUtf8(const TTextFont& font, std::string_view utf8) {
  const SIZE size = TWideLine(font, utf8).Size();
  return {size.cx, size.cy};
}

TCoverage RasterizeUtf8(const TTextFont& font, std::string_view utf8) {
  const TWideLine line(font, utf8);
  return Coverage(line.DC(), line.Size(), [&] { line.Draw(); });
}

}  // namespace pixvane
