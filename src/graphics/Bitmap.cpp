#include "graphics/Bitmap.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace pixvane {

TBitmap::TBitmap(int32_t width, int32_t height) {
  SetSize(width, height);
}

void TBitmap::SetSize(int32_t width, int32_t height) {
  assert(width >= 0 && height >= 0);
  if (width == FWidth && height == FHeight) return;
  size_t stride = StrideFor(width);
  std::vector<uint8_t> bits(stride * static_cast<size_t>(height));
  size_t keep = static_cast<size_t>(std::min(width, FWidth)) * BytesPerPixel;
  int32_t keepRows = keep > 0 ? std::min(height, FHeight) : 0;
  for (int32_t y = 0; y < keepRows; ++y) std::memcpy(bits.data() + y * stride, ScanLine(y), keep);
  FBits = std::move(bits);
  FWidth = width;
  FHeight = height;
  FStride = stride;
}

void TBitmap::Fill(TColor color) {
  FillRect(Bounds(), color);
}

void TBitmap::FillRect(const TRect& rect, TColor color) {
  TRect r = rect.Intersect(Bounds());
  if (r.IsEmpty()) return;
  const uint8_t b = static_cast<uint8_t>(color >> 16);
  const uint8_t g = static_cast<uint8_t>(color >> 8);
  const uint8_t red = static_cast<uint8_t>(color);
  const size_t rowBytes = static_cast<size_t>(r.Width()) * BytesPerPixel;
  // Build one row of the colour, then stamp it onto every row.
  uint8_t* first = ScanLine(r.Top) + r.Left * BytesPerPixel;
  if (b == g && g == red) {
    std::memset(first, b, rowBytes);
  } else {
    for (size_t i = 0; i < rowBytes; i += BytesPerPixel) {
      first[i] = b;
      first[i + 1] = g;
      first[i + 2] = red;
    }
  }
  for (int32_t y = r.Top + 1; y < r.Bottom; ++y)
    std::memcpy(ScanLine(y) + r.Left * BytesPerPixel, first, rowBytes);
}

TColor TBitmap::Pixel(int32_t x, int32_t y) const {
  assert(Bounds().Contains(x, y));
  const uint8_t* p = ScanLine(y) + x * BytesPerPixel;
  return RGBColor(p[2], p[1], p[0]);
}

void TBitmap::SetPixel(int32_t x, int32_t y, TColor color) {
  assert(Bounds().Contains(x, y));
  uint8_t* p = ScanLine(y) + x * BytesPerPixel;
  p[0] = static_cast<uint8_t>(color >> 16);
  p[1] = static_cast<uint8_t>(color >> 8);
  p[2] = static_cast<uint8_t>(color);
}

}  // namespace pixvane
