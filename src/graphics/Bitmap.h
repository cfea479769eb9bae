#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "graphics/Geometry.h"

namespace pixvane {

// A colour as the platform's COLORREF and the framework's TColor hold it:
// 0x00BBGGRR.
using TColor = uint32_t;

constexpr TColor RGBColor(uint8_t r, uint8_t g, uint8_t b) {
  return TColor{r} | (TColor{g} << 8) | (TColor{b} << 16);
}

// The one image type of every layer: decoded pictures, slides, previews and
// the transition engine's screens. 24 bits per pixel in B, G, R byte order,
// rows top-down, each row padded to a multiple of 4 bytes. That is exactly
// the memory of a DIB section with a negative height, so the Windows layer
// can show or blit it without a copy.
class TBitmap {
 public:
  static constexpr int BytesPerPixel = 3;

  TBitmap() = default;
  TBitmap(int32_t width, int32_t height);
  TBitmap(const TBitmap&) = default;
  TBitmap& operator=(const TBitmap&) = default;
  // A bitmap moved from is empty, not a size without pixels.
  TBitmap(TBitmap&& other) noexcept { *this = std::move(other); }
  TBitmap& operator=(TBitmap&& other) noexcept {
    FWidth = std::exchange(other.FWidth, 0);
    FHeight = std::exchange(other.FHeight, 0);
    FStride = std::exchange(other.FStride, 0);
    FBits = std::move(other.FBits);
    other.FBits.clear();
    return *this;
  }

  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  // Bytes from one row to the next.
  size_t Stride() const { return FStride; }
  bool IsEmpty() const { return FWidth == 0 || FHeight == 0; }
  TRect Bounds() const { return {0, 0, FWidth, FHeight}; }

  uint8_t* ScanLine(int32_t y) { return FBits.data() + static_cast<size_t>(y) * FStride; }
  const uint8_t* ScanLine(int32_t y) const {
    return FBits.data() + static_cast<size_t>(y) * FStride;
  }
  uint8_t* Bits() { return FBits.data(); }
  const uint8_t* Bits() const { return FBits.data(); }
  size_t ByteSize() const { return FBits.size(); }

  // Changes the size as the framework's bitmap does: the part both sizes
  // share keeps its pixels, new pixels are black. A size of 0 in either
  // direction gives a bitmap without pixels. Negative sizes are programmer
  // errors; callers check sizes that come from untrusted pictures.
  void SetSize(int32_t width, int32_t height);
  void Fill(TColor color);
  // Fills the part of rect that lies on the bitmap.
  void FillRect(const TRect& rect, TColor color);

  // Single pixels, for tests and the rare caller that needs one; never in a
  // loop over a frame.
  TColor Pixel(int32_t x, int32_t y) const;
  void SetPixel(int32_t x, int32_t y, TColor color);

  static size_t StrideFor(int32_t width) {
    return (static_cast<size_t>(width) * BytesPerPixel + 3) & ~size_t{3};
  }

 private:
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  size_t FStride = 0;
  std::vector<uint8_t> FBits;
};

}  // namespace pixvane
