#include "host/win32/CaptionText.h"

#include <algorithm>
#include <cstring>

#include "base/MulDiv.h"
#include "base/win32/ScreenDpi.h"
#include "graphics/win32/Dib.h"

namespace pixvane {
namespace {

// The package's height goes to points and back at the screen's resolution,
// as a copied font size does. The style and character set come along: a
// maker who asks for a bold caption gets a bold one.
TGdiFont CreateCaptionFont(const TFont& font) {
  int ppi = ScreenPixelsPerInch();
  int size = -MulDiv(font.Height, 72, ppi);
  return TGdiFont(
      CreateFontA(-MulDiv(size, ppi, 72), 0, 0, 0, font.Style & fsBold ? FW_BOLD : FW_NORMAL,
                  font.Style & fsItalic, font.Style & fsUnderline, font.Style & fsStrikeOut,
                  static_cast<BYTE>(font.Charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                  DEFAULT_QUALITY, DEFAULT_PITCH, font.Name.c_str()));
}

COLORREF ColorToRGB(int32_t color) {
  // System colours carry their index in the low byte.
  if (color < 0) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color) & 0xFFFFFF;
}

// A DIB section for GDI to draw a part of a slide on.
struct TTextDib {
  TGdiBitmap Bitmap;
  uint8_t* Rows = nullptr;
  size_t Stride = 0;

  TTextDib(HDC dc, int32_t width, int32_t height) : Stride(TBitmap::StrideFor(width)) {
    BITMAPINFO info = DibInfo(width, height);
    void* bits = nullptr;
    Bitmap = TGdiBitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    Rows = static_cast<uint8_t*>(bits);
  }
};

}  // namespace

TCaptionText::TCaptionText(const TFont& font)
    : FFont(CreateCaptionFont(font)),
      FFontSelection(FDC.Get(), FFont.Get()),
      FColor(ColorToRGB(font.Color)) {}

SIZE TCaptionText::Measure(const std::string& text) const {
  SIZE extent{0, 0};
  GetTextExtentPoint32A(FDC.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
  return extent;
}

void TCaptionText::Draw(TBitmap& slide, const TRect& clip, int32_t x, int32_t y,
                        const std::string& text) const {
  // Only the text's own rectangle goes through GDI: it is copied into a DIB,
  // drawn on there (so smoothed edges blend with the picture) and copied back.
  SIZE extent = Measure(text);
  const TRect area =
      TRect{x, y, x + extent.cx, y + extent.cy}.Intersect(clip).Intersect(slide.Bounds());
  if (area.IsEmpty()) return;
  TTextDib dib(FDC.Get(), area.Width(), area.Height());
  if (!dib.Bitmap) return;
  const size_t rowBytes = static_cast<size_t>(area.Width()) * 3;
  for (int32_t row = 0; row < area.Height(); ++row)
    std::memcpy(dib.Rows + row * dib.Stride, slide.ScanLine(area.Top + row) + area.Left * 3,
                rowBytes);
  TSelection selection(FDC.Get(), dib.Bitmap.Get());
  SetBkMode(FDC.Get(), TRANSPARENT);
  SetTextColor(FDC.Get(), FColor);
  TextOutA(FDC.Get(), x - area.Left, y - area.Top, text.c_str(), static_cast<int>(text.size()));
  GdiFlush();
  for (int32_t row = 0; row < area.Height(); ++row)
    std::memcpy(slide.ScanLine(area.Top + row) + area.Left * 3, dib.Rows + row * dib.Stride,
                rowBytes);
}

TCoverage TCaptionText::Coverage(const std::string& text) const {
  // White text on black: the brightest channel of a pixel is how much the
  // text covers it, smoothed or not.
  SIZE extent = Measure(text);
  TCoverage coverage{extent.cx, extent.cy, {}};
  if (extent.cx <= 0 || extent.cy <= 0) return coverage;
  TTextDib dib(FDC.Get(), extent.cx, extent.cy);
  if (!dib.Bitmap) return {};
  TSelection selection(FDC.Get(), dib.Bitmap.Get());
  SetBkMode(FDC.Get(), TRANSPARENT);
  SetTextColor(FDC.Get(), RGB(255, 255, 255));
  TextOutA(FDC.Get(), 0, 0, text.c_str(), static_cast<int>(text.size()));
  GdiFlush();
  coverage.Alpha.resize(static_cast<size_t>(extent.cx) * extent.cy);
  for (int32_t row = 0; row < extent.cy; ++row) {
    const uint8_t* in = dib.Rows + row * dib.Stride;
    for (int32_t col = 0; col < extent.cx; ++col, in += 3)
      coverage.Alpha[static_cast<size_t>(row) * extent.cx + col] = std::max({in[0], in[1], in[2]});
  }
  return coverage;
}

}  // namespace pixvane
