#include "host/win32/CaptionText.h"

#include <algorithm>
#include <cstring>

#include "base/MulDiv.h"
#include "base/win32/ScreenDpi.h"
#include "transition/win32/Dib.h"

namespace pixvane {
namespace {

// The package's height goes to points and back at the screen's resolution,
// as a copied font size does.
TGdiFont CreateCaptionFont(const TFont& font) {
  int ppi = ScreenPixelsPerInch();
  int size = -MulDiv(font.Height, 72, ppi);
  return CreateGdiFont(-MulDiv(size, ppi, 72), font.Name.c_str());
}

COLORREF ColorToRGB(int32_t color) {
  // System colours carry their index in the low byte.
  if (color < 0) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color) & 0xFFFFFF;
}

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

void TCaptionText::Draw(TBitmap& slide, int32_t x, int32_t y, const std::string& text) const {
  // Only the text's own rectangle goes through GDI: it is copied into a DIB,
  // drawn on there (so smoothed edges blend with the picture) and copied back.
  SIZE extent = Measure(text);
  TRect area{std::max(x, 0), std::max(y, 0), std::min<int32_t>(x + extent.cx, slide.Width()),
             std::min<int32_t>(y + extent.cy, slide.Height())};
  if (area.IsEmpty()) return;
  BITMAPINFO info = DibInfo(area.Width(), area.Height());
  void* bits = nullptr;
  TGdiBitmap dib(CreateDIBSection(FDC.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib) return;
  const size_t stride = TBitmap::StrideFor(area.Width());
  auto rows = static_cast<uint8_t*>(bits);
  const size_t rowBytes = static_cast<size_t>(area.Width()) * 3;
  for (int32_t row = 0; row < area.Height(); ++row)
    std::memcpy(rows + row * stride, slide.ScanLine(area.Top + row) + area.Left * 3, rowBytes);
  TSelection selection(FDC.Get(), dib.Get());
  SetBkMode(FDC.Get(), TRANSPARENT);
  SetTextColor(FDC.Get(), FColor);
  TextOutA(FDC.Get(), x - area.Left, y - area.Top, text.c_str(), static_cast<int>(text.size()));
  GdiFlush();
  for (int32_t row = 0; row < area.Height(); ++row)
    std::memcpy(slide.ScanLine(area.Top + row) + area.Left * 3, rows + row * stride, rowBytes);
}

}  // namespace pixvane
