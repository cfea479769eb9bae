// The text renderer on Windows: GDI measures and draws the line, white on
// black in a 32-bit DIB section, and the green channel is the coverage the
// portable side blends in the text's colour. Grey-scale smoothing (never
// ClearType), so coverage is one value per pixel.
#include <windows.h>

#include <algorithm>
#include <cstring>
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

// The GDI calls of 8-bit text (in the font's character set, as it always
// was drawn) and of Unicode text, behind one shape.
struct TAnsiCalls {
  using TChar = char;
  static BOOL Extent(HDC dc, const char* text, int count, SIZE* size) {
    return GetTextExtentPoint32A(dc, text, count, size);
  }
  static BOOL ExtentEx(HDC dc, const char* text, int count, int* ends, SIZE* size) {
    return GetTextExtentExPointA(dc, text, count, 0, nullptr, ends, size);
  }
  static BOOL Out(HDC dc, UINT options, const char* text, UINT count, const int* advances) {
    return ExtTextOutA(dc, 0, 0, options, nullptr, text, count, advances);
  }
};

struct TWideCalls {
  using TChar = wchar_t;
  static BOOL Extent(HDC dc, const wchar_t* text, int count, SIZE* size) {
    return GetTextExtentPoint32W(dc, text, count, size);
  }
  static BOOL ExtentEx(HDC dc, const wchar_t* text, int count, int* ends, SIZE* size) {
    return GetTextExtentExPointW(dc, text, count, 0, nullptr, ends, size);
  }
  static BOOL Out(HDC dc, UINT options, const wchar_t* text, UINT count, const int* advances) {
    return ExtTextOutW(dc, 0, 0, options, nullptr, text, count, advances);
  }
};

std::wstring Wide(std::string_view utf8) {
  const std::u16string wide = Utf8ToUtf16(utf8);
  return std::wstring(wide.begin(), wide.end());
}

// The line's box; an empty line is as high as the font.
template <typename TCalls>
TPoint Extent(const TTextFont& font, std::basic_string_view<typename TCalls::TChar> text) {
  TFontDC dc(font);
  SIZE size{};
  TCalls::Extent(dc.DC.Get(), text.data(), static_cast<int>(text.size()), &size);
  if (text.empty()) {
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.DC.Get(), &metrics);
    size.cy = metrics.tmHeight;
  }
  return {size.cx, size.cy};
}

template <typename TCalls>
TCoverage Rasterize(const TTextFont& font, std::basic_string_view<typename TCalls::TChar> text,
                    bool rightToLeft) {
  TFontDC dc(font);
  // Drawn at the advances measured here: Wine places the hinted glyphs of
  // small fonts off those advances, and the mask is only as wide as the
  // measured line, so a glyph placed past it would be cut off.
  SIZE size{};
  std::vector<int> advances(text.size());
  TCalls::ExtentEx(dc.DC.Get(), text.data(), static_cast<int>(text.size()), advances.data(), &size);
  for (size_t i = advances.size(); i-- > 1;) advances[i] -= advances[i - 1];
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
  TGdiBitmap dib(CreateDIBSection(dc.DC.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib) throw EError("Can't allocate the DIB handle");
  {
    TSelection selected(dc.DC.Get(), dib.Get());
    std::memset(bits, 0, mask.Alpha.size() * 4);
    SetBkMode(dc.DC.Get(), TRANSPARENT);
    SetTextColor(dc.DC.Get(), RGB(255, 255, 255));
    TCalls::Out(dc.DC.Get(), rightToLeft ? ETO_RTLREADING : 0, text.data(),
                static_cast<UINT>(text.size()), advances.data());
    GdiFlush();
  }
  const auto* pixels = static_cast<const uint8_t*>(bits);
  for (size_t i = 0; i < mask.Alpha.size(); ++i) mask.Alpha[i] = pixels[4 * i + 1];
  return mask;
}

}  // namespace

TPoint TextExtent(const TTextFont& font, std::string_view text) {
  return Extent<TAnsiCalls>(font, text);
}

TCoverage RasterizeText(const TTextFont& font, std::string_view text, bool rightToLeft) {
  return Rasterize<TAnsiCalls>(font, text, rightToLeft);
}

TPoint TextExtentUtf8(const TTextFont& font, std::string_view utf8) {
  return Extent<TWideCalls>(font, Wide(utf8));
}

TCoverage RasterizeUtf8(const TTextFont& font, std::string_view utf8) {
  return Rasterize<TWideCalls>(font, Wide(utf8), false);
}

}  // namespace pixvane
