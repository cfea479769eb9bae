#include <algorithm>
#include <cmath>
#include <vector>

#include "graphics/Resample.h"

namespace pixvane {
namespace {

// Weights in 256ths: a frame moves by a 256th of a pixel at the finest,
// well below what the eye can see, and two weighted taps of a byte fit in
// 16 bits.
constexpr int WeightOne = 256;

// One destination pixel's two source taps on an axis, and the weight of
// the second.
struct TTaps {
  int32_t First, Second;
  int32_t Weight;
};

// The taps of each of count destination pixels from start on, for a source
// of sourceSize pixels shown from origin over size.
std::vector<TTaps> AxisTaps(int32_t start, int32_t count, double origin, double size,
                            int32_t sourceSize) {
  std::vector<TTaps> taps(count);
  const double scale = sourceSize / size;
  for (int32_t i = 0; i < count; ++i) {
    // Pixel centres map to pixel centres.
    double at = (start + i + 0.5 - origin) * scale - 0.5;
    at = std::clamp(at, 0.0, sourceSize - 1.0);
    const int32_t first = static_cast<int32_t>(at);
    taps[i] = {first, std::min(first + 1, sourceSize - 1),
               static_cast<int32_t>(std::lround((at - first) * WeightOne))};
  }
  return taps;
}

}  // namespace

void DrawBilinear(TBitmap& dest, const TRect& clip, double left, double top, double width,
                  double height, const TBitmap& source) {
  const TRect area = clip.Intersect(dest.Bounds());
  if (area.IsEmpty() || source.IsEmpty() || width <= 0 || height <= 0) return;
  constexpr int Bpp = TBitmap::BytesPerPixel;
  std::vector<TTaps> columns = AxisTaps(area.Left, area.Width(), left, width, source.Width());
  // The source columns the row needs, from the first tap to the last.
  const int32_t first = columns.front().First, last = columns.back().Second;
  for (TTaps& column : columns) {
    column.First = (column.First - first) * Bpp;
    column.Second = (column.Second - first) * Bpp;
  }
  const std::vector<TTaps> rows = AxisTaps(area.Top, area.Height(), top, height, source.Height());
  // Two passes a row: the two source rows blended into 16-bit sums, a
  // straight loop the compiler turns into vector code; then two of those
  // sums blended for each pixel.
  std::vector<uint16_t> blended(static_cast<size_t>(last - first + 1) * Bpp);
  const size_t count = blended.size();
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    const TTaps& row = rows[y - area.Top];
    const uint8_t* upper = source.ScanLine(row.First) + first * Bpp;
    const uint8_t* lower = source.ScanLine(row.Second) + first * Bpp;
    const uint16_t wy = static_cast<uint16_t>(row.Weight), wy0 = WeightOne - wy;
    for (size_t i = 0; i < count; ++i)
      blended[i] = static_cast<uint16_t>(upper[i] * wy0 + lower[i] * wy);
    uint8_t* out = dest.ScanLine(y) + area.Left * Bpp;
    for (const TTaps& column : columns) {
      const uint32_t wx = column.Weight, wx0 = WeightOne - wx;
      const uint16_t* a = blended.data() + column.First;
      const uint16_t* b = blended.data() + column.Second;
      for (int c = 0; c < Bpp; ++c)
        *out++ = static_cast<uint8_t>((a[c] * wx0 + b[c] * wx + WeightOne * WeightOne / 2) >> 16);
    }
  }
}

}  // namespace pixvane
