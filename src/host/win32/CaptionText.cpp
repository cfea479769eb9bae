#include "host/win32/CaptionText.h"

#include <algorithm>
#include <cstring>

#include "base/MulDiv.h"
#include "transition/win32/Dib.h"

namespace pixvane {
namespace {

int ScreenPixelsPerInch() {
  HDC screen = GetDC(nullptr);
  int ppi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return ppi > 0 ? ppi : 96;
}

COLORREF ColorToRGB(int32_t color) {
  // System colours carry their index in the low byte.
  if (color < 0) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color) & 0xFFFFFF;
}

}  // namespace

TCaptionText::TCaptionText(const TFont& font) : FDC(CreateCompatibleDC(nullptr)) {
  // The package's height goes to points and back at the screen's resolution,
  // as a copied font size does.
  int ppi = ScreenPixelsPerInch();
  int size = -MulDiv(font.Height, 72, ppi);
  int height = -MulDiv(size, ppi, 72);
  FFont = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                      font.Name.c_str());
  FOldFont = SelectObject(FDC, FFont);
  FColor = ColorToRGB(font.Color);
}

TCaptionText::~TCaptionText() {
  SelectObject(FDC, FOldFont);
  DeleteObject(FFont);
  DeleteDC(FDC);
}

SIZE TCaptionText::Measure(const std::string& text) const {
  SIZE extent{0, 0};
  GetTextExtentPoint32A(FDC, text.c_str(), static_cast<int>(text.size()), &extent);
  return extent;
}

void TCaptionText::Draw(TBitmap& slide, int32_t x, int32_t y, const std::string& text) const {
  // Only the text's own rectangle goes through GDI: it is copied into a DIB,
  // drawn on there (so smoothed edges blend with the picture) and copied back.
  SIZE extent = Measure(text);
  TRect area{std::max(x, 0), std::max(y, 0), std::min<int32_t>(x + extent.cx, slide.Width()),
             std::min<int32_t>(y + extent.cy, slide.Height())};
  if (area.IsEmpty()) return;
  BITMAPINFO info = DibInfo(area.Width(), area.Height());
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(FDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib) return;
  const size_t stride = TBitmap::StrideFor(area.Width());
  auto rows = static_cast<uint8_t*>(bits);
  const size_t rowBytes = static_cast<size_t>(area.Width()) * 3;
  for (int32_t row = 0; row < area.Height(); ++row)
    std::memcpy(rows + row * stride, slide.ScanLine(area.Top + row) + area.Left * 3, rowBytes);
  HGDIOBJ old = SelectObject(FDC, dib);
  SetBkMode(FDC, TRANSPARENT);
  SetTextColor(FDC, FColor);
  TextOutA(FDC, x - area.Left, y - area.Top, text.c_str(), static_cast<int>(text.size()));
  GdiFlush();
  for (int32_t row = 0; row < area.Height(); ++row)
    std::memcpy(slide.ScanLine(area.Top + row) + area.Left * 3, rows + row * stride, rowBytes);
  SelectObject(FDC, old);
  DeleteObject(dib);
}

}  // namespace pixvane
