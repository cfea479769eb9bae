#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/Geometry.h"

namespace pixvane {

class TStream;

// A 32-bit pixel as the skin stores it: bytes blue, green, red, alpha, read
// as one little-endian number (0xAARRGGBB).
using TSkinPixel = uint32_t;

// The pixel that marks "not drawn": bytes 127, 0, 127, 0.
inline constexpr TSkinPixel TransparentKey = 0x007F007F;

// Skins are untrusted: no bitmap may claim more pixels than this (a
// 4096 x 4096 picture), whatever its stream says.
inline constexpr int64_t MaxSkinPixels = int64_t{4096} * 4096;
// Nor a side longer than a DIB's. The pixel cap alone lets 0 x 2^30 through,
// a bitmap without pixels whose rows would still be walked one by one.
inline constexpr int32_t MaxSkinSide = 32767;

// Whether a skin bitmap may be width x height pixels.
constexpr bool IsSkinBitmapSize(int64_t width, int64_t height) {
  return width >= 0 && height >= 0 && width <= MaxSkinSide && height <= MaxSkinSide &&
         width * height <= MaxSkinPixels;
}

// A skin's bitmap, and the off-screen target skin objects paint into: a name
// and top-down rows of 32-bit pixels. Skin pixels have alpha 255 or are
// TransparentKey; a paint target starts as whatever its owner filled in.
class TSkinBitmap {
 public:
  TSkinBitmap() = default;
  TSkinBitmap(int32_t width, int32_t height, TSkinPixel fill = 0);

  std::string Name;

  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  TRect Bounds() const { return {0, 0, FWidth, FHeight}; }
  bool IsEmpty() const { return FWidth == 0 || FHeight == 0; }
  // Sizes the bitmap anew, every pixel set to fill. Sizes that fail
  // IsSkinBitmapSize raise "Can't allocate the DIB handle".
  void SetSize(int32_t width, int32_t height, TSkinPixel fill = 0);

  TSkinPixel* ScanLine(int32_t y) { return FPixels.data() + static_cast<size_t>(y) * FWidth; }
  const TSkinPixel* ScanLine(int32_t y) const {
    return FPixels.data() + static_cast<size_t>(y) * FWidth;
  }
  TSkinPixel Pixel(int32_t x, int32_t y) const { return ScanLine(y)[x]; }
  void SetPixel(int32_t x, int32_t y, TSkinPixel pixel) { ScanLine(y)[x] = pixel; }
  void Fill(TSkinPixel pixel);

  // The record form: name, width, height, pixels; reading turns every
  // magenta pixel (255, 0, 255, whatever alpha) into TransparentKey.
  void Read(TStream& stream);
  void Write(TStream& stream) const;

 private:
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  std::vector<TSkinPixel> FPixels;
};

using TSkinBitmapList = std::vector<std::unique_ptr<TSkinBitmap>>;

// An opaque skin pixel of a 00BBGGRR colour.
constexpr TSkinPixel OpaquePixel(TColor color) {
  return 0xFF000000u | ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

}  // namespace pixvane
