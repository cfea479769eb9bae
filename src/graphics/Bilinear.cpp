#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "graphics/Resample.h"

namespace pixvane {
namespace {

// Weights in 256ths: a frame moves by a 256th of a pixel at the finest,
// well below what the eye can see, and two weighted taps of a byte fit in
// 16 bits.
constexpr int WeightOne = 256;
constexpr int Bpp = TBitmap::BytesPerPixel;

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

// The source rows blended across, one destination row wide, in 16-bit
// sums. The columns' byte offsets and per-channel weights are worked out
// once a frame; the last two rows made are kept, since neighbouring
// destination rows share their source rows at scales near 1.
class TRowBlender {
 public:
  TRowBlender(const TBitmap& source, const std::vector<TTaps>& columns)
      : FSource(source),
        FCount(columns.size() * Bpp),
        FFirst(columns.size()),
        FSecond(columns.size()),
        FWeight0(FCount),
        FWeight1(FCount),
        FLeft(FCount + 1),
        FRight(FCount + 1) {
    for (size_t i = 0; i < columns.size(); ++i) {
      FFirst[i] = columns[i].First * Bpp;
      FSecond[i] = columns[i].Second * Bpp;
      for (int c = 0; c < Bpp; ++c) {
        FWeight1[i * Bpp + c] = static_cast<uint16_t>(columns[i].Weight);
        FWeight0[i * Bpp + c] = static_cast<uint16_t>(WeightOne - columns[i].Weight);
      }
    }
    for (auto& row : FRows) row.assign(FCount, 0);
    // Whole words are copied where the byte after the pixel is still on
    // the row; the spare byte lands on the next pixel's slot and is
    // overwritten by it, or on the buffers' one spare byte.
    const int32_t rowBytes = source.Width() * Bpp;
    while (FWide < columns.size() && FSecond[FWide] + 4 <= rowBytes) ++FWide;
  }

  const uint16_t* Row(int32_t y) {
    for (int k = 0; k < 2; ++k)
      if (FRowOf[k] == y) return FRows[k].data();
    const uint8_t* line = FSource.ScanLine(y);
    // The taps gathered side by side first: a plain copy, so the blend
    // below is a straight loop the compiler turns into vector code.
    uint8_t* __restrict left = FLeft.data();
    uint8_t* __restrict right = FRight.data();
    for (size_t i = 0; i < FWide; ++i) {
      uint32_t first, second;
      std::memcpy(&first, line + FFirst[i], sizeof first);
      std::memcpy(&second, line + FSecond[i], sizeof second);
      std::memcpy(left + i * Bpp, &first, sizeof first);
      std::memcpy(right + i * Bpp, &second, sizeof second);
    }
    for (size_t i = FWide; i < FFirst.size(); ++i) {
      std::memcpy(left + i * Bpp, line + FFirst[i], Bpp);
      std::memcpy(right + i * Bpp, line + FSecond[i], Bpp);
    }
    uint16_t* __restrict out = FRows[FNext].data();
    const uint16_t* __restrict w0 = FWeight0.data();
    const uint16_t* __restrict w1 = FWeight1.data();
    for (size_t j = 0; j < FCount; ++j)
      out[j] = static_cast<uint16_t>(left[j] * w0[j] + right[j] * w1[j]);
    FRowOf[FNext] = y;
    FNext ^= 1;
    return out;
  }

 private:
  const TBitmap& FSource;
  size_t FCount, FWide = 0;
  std::vector<int32_t> FFirst, FSecond;
  std::vector<uint16_t> FWeight0, FWeight1;
  std::vector<uint8_t> FLeft, FRight;
  std::vector<uint16_t> FRows[2];
  int32_t FRowOf[2] = {-1, -1};
  int FNext = 0;
};

}  // namespace

void DrawBilinear(TBitmap& dest, const TRect& clip, double left, double top, double width,
                  double height, const TBitmap& source) {
  const TRect area = clip.Intersect(dest.Bounds());
  if (area.IsEmpty() || source.IsEmpty() || width <= 0 || height <= 0) return;
  TRowBlender blender(source, AxisTaps(area.Left, area.Width(), left, width, source.Width()));
  const std::vector<TTaps> rows = AxisTaps(area.Top, area.Height(), top, height, source.Height());
  const size_t count = static_cast<size_t>(area.Width()) * Bpp;
  // Across first, then down: both sums are exact, so the one rounding at
  // the end gives the same bytes in either order.
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    const TTaps& row = rows[y - area.Top];
    const uint16_t* __restrict upper = blender.Row(row.First);
    const uint16_t* __restrict lower = blender.Row(row.Second);
    // 16-bit weights let the compiler multiply in 16-bit lanes.
    const uint16_t wy = static_cast<uint16_t>(row.Weight), wy0 = WeightOne - wy;
    uint8_t* __restrict out = dest.ScanLine(y) + area.Left * Bpp;
    for (size_t j = 0; j < count; ++j)
      out[j] =
          static_cast<uint8_t>((upper[j] * wy0 + lower[j] * wy + WeightOne * WeightOne / 2) >> 16);
  }
}

}  // namespace pixvane
