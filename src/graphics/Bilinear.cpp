#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define PIXVANE_AVX2 1
#endif

#include "graphics/Bands.h"
#include "graphics/Resample.h"
#include "graphics/Simd.h"

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

// A destination pixel's weights for its two taps' channels, side by side
// as they are read: the first tap's three bytes, the second's, two unused.
struct alignas(16) TPairWeights {
  uint16_t Lane[8];
};

// The source rows blended across, one destination row wide, in 16-bit
// sums. The columns' byte offsets and weights are worked out once a frame;
// the last two rows made are kept, since neighbouring destination rows
// share their source rows at scales near 1.
class TRowBlender {
 public:
  TRowBlender(const TBitmap& source, const std::vector<TTaps>& columns, TSimd simd)
      : FSource(source), FFirst(columns.size()), FSecond(columns.size()), FWeights(columns.size()) {
    for (size_t i = 0; i < columns.size(); ++i) {
      FFirst[i] = columns[i].First * Bpp;
      FSecond[i] = columns[i].Second * Bpp;
      const auto w1 = static_cast<uint16_t>(columns[i].Weight);
      const auto w0 = static_cast<uint16_t>(WeightOne - w1);
      FWeights[i] = {{w0, w0, w0, w1, w1, w1, 0, 0}};
    }
    // A row gets a spare lane: a pixel is stored as four lanes at once,
    // the fourth overwritten by the next pixel.
    for (auto& row : FRows) row.assign(columns.size() * Bpp + 1, 0);
#if defined(__SSE2__)
    // A pixel and its right neighbour are read as one 8-byte load where
    // that stays on the row; the pixels on the right edge, whose second tap
    // may be the pixel itself, are blended a channel at a time.
    const int32_t rowBytes = source.Width() * Bpp;
    while (simd != TSimd::Plain && FWide < columns.size() &&
           FSecond[FWide] == FFirst[FWide] + Bpp && FFirst[FWide] + 8 <= rowBytes)
      ++FWide;
#endif
  }

  const uint16_t* Row(int32_t y) {
    for (int k = 0; k < 2; ++k)
      if (FRowOf[k] == y) return FRows[k].data();
    const uint8_t* line = FSource.ScanLine(y);
    uint16_t* out = FRows[FNext].data();
    size_t i = 0;
#if defined(__SSE2__)
    // Both taps' channels weighted in one multiply, then the second tap's
    // three lanes added onto the first's.
    const __m128i zero = _mm_setzero_si128();
    for (; i < FWide; ++i) {
      const __m128i pair = _mm_unpacklo_epi8(
          _mm_loadl_epi64(reinterpret_cast<const __m128i*>(line + FFirst[i])), zero);
      const __m128i weighted =
          _mm_mullo_epi16(pair, _mm_load_si128(reinterpret_cast<const __m128i*>(&FWeights[i])));
      _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i * Bpp),
                       _mm_add_epi16(weighted, _mm_srli_si128(weighted, 3 * 2)));
    }
#endif
    for (; i < FFirst.size(); ++i)
      for (int c = 0; c < Bpp; ++c)
        out[i * Bpp + c] = static_cast<uint16_t>(line[FFirst[i] + c] * FWeights[i].Lane[c] +
                                                 line[FSecond[i] + c] * FWeights[i].Lane[3 + c]);
    FRowOf[FNext] = y;
    FNext ^= 1;
    return out;
  }

 private:
  const TBitmap& FSource;
  size_t FWide = 0;  // the pixels read in pairs, from the left
  std::vector<int32_t> FFirst, FSecond;
  std::vector<TPairWeights> FWeights;
  std::vector<uint16_t> FRows[2];
  int32_t FRowOf[2] = {-1, -1};
  int FNext = 0;
};

// Two rows of 16-bit sums blended down into bytes, the lower one weighing
// weight 256ths, rounded once: the plain sum the vector paths match.
void BlendDownPlain(uint8_t* out, const uint16_t* upper, const uint16_t* lower, size_t from,
                    size_t count, int32_t weight) {
  const uint32_t wy0 = WeightOne - weight, wy = weight;
  for (size_t j = from; j < count; ++j)
    out[j] =
        static_cast<uint8_t>((upper[j] * wy0 + lower[j] * wy + WeightOne * WeightOne / 2) >> 16);
}

#if defined(__SSE2__)
// pmaddwd multiplies and adds pairs of lanes in one step, but signed: the
// sums (up to 65280) are moved down by 32768 first, which takes
// 32768 * 256 off every result, given back with the rounding.
constexpr int32_t Back = 32768 * WeightOne + WeightOne * WeightOne / 2;

// Eight lanes of each row blended into eight 16-bit results.
inline __m128i BlendEight(const uint16_t* upper, const uint16_t* lower, __m128i weights) {
  const __m128i bias = _mm_set1_epi16(static_cast<short>(0x8000));
  const __m128i back = _mm_set1_epi32(Back);
  const __m128i u = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(upper)), bias);
  const __m128i l = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(lower)), bias);
  const __m128i low =
      _mm_srli_epi32(_mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(u, l), weights), back), 16);
  const __m128i high =
      _mm_srli_epi32(_mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(u, l), weights), back), 16);
  return _mm_packs_epi32(low, high);  // each at most 255
}

// The bytes from 0 on, 16 at a time; returns where it stopped.
size_t BlendDownSse2(uint8_t* out, const uint16_t* upper, const uint16_t* lower, size_t from,
                     size_t count, int32_t weight) {
  const __m128i weights = _mm_set1_epi32(weight << 16 | (WeightOne - weight));
  size_t j = from;
  for (; j + 16 <= count; j += 16)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j),
                     _mm_packus_epi16(BlendEight(upper + j, lower + j, weights),
                                      BlendEight(upper + j + 8, lower + j + 8, weights)));
  return j;
}
#endif

#if defined(PIXVANE_AVX2)
// BlendEight twice over: the unpacks and packs work within each 128-bit
// half, so sixteen lanes come out in order.
__attribute__((target("avx2"))) inline __m256i BlendSixteen(const uint16_t* upper,
                                                            const uint16_t* lower,
                                                            __m256i weights) {
  const __m256i bias = _mm256_set1_epi16(static_cast<short>(0x8000));
  const __m256i back = _mm256_set1_epi32(Back);
  const __m256i u =
      _mm256_xor_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(upper)), bias);
  const __m256i l =
      _mm256_xor_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(lower)), bias);
  const __m256i low = _mm256_srli_epi32(
      _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpacklo_epi16(u, l), weights), back), 16);
  const __m256i high = _mm256_srli_epi32(
      _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpackhi_epi16(u, l), weights), back), 16);
  return _mm256_packs_epi32(low, high);
}

// 32 bytes at a time; the byte pack works per half as well, so its quarters
// are put back in order.
__attribute__((target("avx2"))) size_t BlendDownAvx2(uint8_t* out, const uint16_t* upper,
                                                     const uint16_t* lower, size_t count,
                                                     int32_t weight) {
  const __m256i weights = _mm256_set1_epi32(weight << 16 | (WeightOne - weight));
  size_t j = 0;
  for (; j + 32 <= count; j += 32) {
    const __m256i bytes =
        _mm256_packus_epi16(BlendSixteen(upper + j, lower + j, weights),
                            BlendSixteen(upper + j + 16, lower + j + 16, weights));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + j), _mm256_permute4x64_epi64(bytes, 0xD8));
  }
  return j;
}
#endif

void BlendDown(TSimd simd, uint8_t* out, const uint16_t* upper, const uint16_t* lower, size_t count,
               int32_t weight) {
  size_t j = 0;
#if defined(PIXVANE_AVX2)
  if (simd == TSimd::Avx2) j = BlendDownAvx2(out, upper, lower, count, weight);
#endif
#if defined(__SSE2__)
  if (simd != TSimd::Plain) j = BlendDownSse2(out, upper, lower, j, count, weight);
#endif
  BlendDownPlain(out, upper, lower, j, count, weight);
}

}  // namespace

void DrawBilinear(TBitmap& dest, const TRect& clip, double left, double top, double width,
                  double height, const TBitmap& source, int threads) {
  const TRect area = clip.Intersect(dest.Bounds());
  if (area.IsEmpty() || source.IsEmpty() || width <= 0 || height <= 0) return;
  const std::vector<TTaps> columns = AxisTaps(area.Left, area.Width(), left, width, source.Width());
  const std::vector<TTaps> rows = AxisTaps(area.Top, area.Height(), top, height, source.Height());
  const size_t count = static_cast<size_t>(area.Width()) * Bpp;
  const TSimd simd = ActiveSimd();
  // Each band blends its own source rows: a band's first row reads two
  // rows its neighbour reads too, which costs less than sharing them.
  ForBands(threads, area.Height(), 64, [&](int32_t first, int32_t last) {
    TRowBlender blender(source, columns, simd);
    // Across first, then down: both sums are exact, so the one rounding at
    // the end gives the same bytes in either order.
    for (int32_t i = first; i < last; ++i) {
      const TTaps& row = rows[i];
      const uint16_t* __restrict upper = blender.Row(row.First);
      const uint16_t* __restrict lower = blender.Row(row.Second);
      BlendDown(simd, dest.ScanLine(area.Top + i) + area.Left * Bpp, upper, lower, count,
                row.Weight);
    }
  });
}

}  // namespace pixvane
