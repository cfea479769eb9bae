#include "graphics/Resample.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "graphics/Bands.h"

namespace pixvane {
namespace {

// Weights are fixed point: a pixel's taps add up to exactly 1 << WeightBits.
constexpr int WeightBits = 14;
// The vertical pass keeps this many bits below the byte for the horizontal one.
constexpr int CarryBits = 7;

// The filter: a sinc windowed by a wider sinc (Lanczos), Lobes lobes each
// side. It keeps the detail a photo has up to the screen's resolution and
// drops what lies beyond, where a tent blurs the one and a box lets the
// other alias.
constexpr double Lobes = 3;
constexpr double Pi = 3.14159265358979323846;

double Lanczos(double x) {
  x = std::abs(x);
  if (x < 1e-9) return 1;
  if (x >= Lobes) return 0;
  return Lobes * std::sin(Pi * x) * std::sin(Pi * x / Lobes) / (Pi * Pi * x * x);
}

// The taps of one axis for the destination positions [from, to) of a
// placement dstLength long over a source srcLength long.
struct TAxis {
  int32_t Stride = 0;            // weights kept per destination pixel
  std::vector<int32_t> First;    // first source index of each pixel
  std::vector<int32_t> Count;    // its taps
  std::vector<int32_t> Weights;  // Stride per pixel, Count of them used
  int32_t LargestSpread = 0;     // the largest sum of a pixel's weights' magnitudes

  // The source pixels the taps reach, from First.front() on.
  int32_t Reach() const { return First.back() + Count.back() - First.front(); }

  TAxis(int32_t srcLength, int32_t dstLength, int32_t from, int32_t to) {
    const double scale = static_cast<double>(srcLength) / dstLength;
    // Reducing, the filter widens to cover every source pixel under a
    // destination pixel; enlarging, it interpolates between neighbours.
    const double stretch = std::max(scale, 1.0);
    const double radius = Lobes * stretch;
    Stride = static_cast<int32_t>(std::ceil(2 * radius)) + 1;
    std::vector<double> raw(Stride);
    for (int32_t i = from; i < to; ++i) {
      const double centre = (i + 0.5) * scale - 0.5;
      const int32_t low = static_cast<int32_t>(std::floor(centre - radius)) + 1;
      // Taps outside the source fall on its edge pixel.
      const int32_t first = std::clamp(low, 0, srcLength - 1);
      std::fill(raw.begin(), raw.end(), 0.0);
      int32_t last = first;
      double sum = 0;
      for (int32_t k = 0; k < Stride; ++k) {
        const double weight = Lanczos((low + k - centre) / stretch);
        if (weight == 0) continue;
        const int32_t source = std::clamp(low + k, 0, srcLength - 1);
        raw[source - first] += weight;
        last = std::max(last, source);
        sum += weight;
      }
      AddPixel(first, last - first + 1, raw, sum);
    }
  }

 private:
  void AddPixel(int32_t first, int32_t count, const std::vector<double>& raw, double sum) {
    First.push_back(first);
    Count.push_back(count);
    const size_t start = Weights.size();
    int32_t total = 0, largest = 0;
    for (int32_t k = 0; k < Stride; ++k) {
      const int32_t weight =
          k < count ? static_cast<int32_t>(std::lround(raw[k] / sum * (1 << WeightBits))) : 0;
      Weights.push_back(weight);
      total += weight;
      if (weight > Weights[start + largest]) largest = k;
    }
    // Rounding must not brighten or darken a flat area.
    Weights[start + largest] += (1 << WeightBits) - total;
    int32_t spread = 0;
    for (int32_t k = 0; k < count; ++k) spread += std::abs(Weights[start + k]);
    LargestSpread = std::max(LargestSpread, spread);
  }
};

// Rows [top, bottom) of area, of the scaling the two axes describe.
void ScaleRowsPlain(TBitmap& dest, const TRect& area, const TAxis& columns, const TAxis& rows,
                    const TBitmap& source, int32_t top, int32_t bottom) {
  // Only the source columns the horizontal taps reach are filtered vertically.
  const int32_t firstColumn = columns.First.front();
  const size_t span = static_cast<size_t>(columns.Reach()) * 3;
  std::vector<int32_t> sums(span), line(span);

  for (int32_t y = top; y < bottom; ++y) {
    // Vertically: one row of the needed source columns.
    std::fill(sums.begin(), sums.end(), 0);
    const int32_t* rowWeights = &rows.Weights[static_cast<size_t>(y) * rows.Stride];
    for (int32_t k = 0; k < rows.Count[y]; ++k) {
      const uint8_t* in = source.ScanLine(rows.First[y] + k) + firstColumn * 3;
      const int32_t weight = rowWeights[k];
      for (size_t n = 0; n < span; ++n) sums[n] += weight * in[n];
    }
    constexpr int32_t Shift = WeightBits - CarryBits;
    for (size_t n = 0; n < span; ++n) line[n] = (sums[n] + (1 << (Shift - 1))) >> Shift;

    // Horizontally: the destination row.
    uint8_t* out = dest.ScanLine(area.Top + y) + area.Left * 3;
    for (int32_t x = 0; x < area.Width(); ++x, out += 3) {
      const int32_t* taps = &line[static_cast<size_t>(columns.First[x] - firstColumn) * 3];
      const int32_t* weights = &columns.Weights[static_cast<size_t>(x) * columns.Stride];
      int32_t b = 0, g = 0, r = 0;
      for (int32_t k = 0; k < columns.Count[x]; ++k, taps += 3) {
        b += weights[k] * taps[0];
        g += weights[k] * taps[1];
        r += weights[k] * taps[2];
      }
      constexpr int Bits = WeightBits + CarryBits;
      constexpr int32_t Half = 1 << (Bits - 1);
      // The filter's negative lobes may overshoot at sharp edges.
      out[0] = static_cast<uint8_t>(std::clamp((b + Half) >> Bits, 0, 255));
      out[1] = static_cast<uint8_t>(std::clamp((g + Half) >> Bits, 0, 255));
      out[2] = static_cast<uint8_t>(std::clamp((r + Half) >> Bits, 0, 255));
    }
  }
}

#if defined(__SSE2__)
// The same sums with pmaddwd, which multiplies 16-bit lanes and adds them in
// pairs: two taps at once, every product and sum exact, so the bytes equal
// the plain path's. The vertical sums are kept in 16 bits as their distance
// from mid-grey (Middle); the horizontal weights add up to exactly one, so
// Middle comes back whole at the end.
constexpr int32_t Middle = 255 << (CarryBits - 1);
constexpr int32_t CarryShift = WeightBits - CarryBits;

// Whether the 16-bit lanes hold these axes' weights and sums. A vertical
// sum lies within 127.5 / 128 of its weights' spread from Middle (plus its
// rounding), and a weight is never larger than its pixel's spread. Three
// Lanczos lobes spread about 1.3 times one, far inside the limit.
bool FitsSixteenBits(const TAxis& columns, const TAxis& rows) {
  return rows.LargestSpread < 32767 && columns.LargestSpread < 32768;
}

// A pair of taps' weights as one 32-bit lane: the first in the low half.
inline __m128i WeightPair(const int32_t* weights, int32_t k, int32_t count) {
  const int32_t second = k + 1 < count ? weights[k + 1] : 0;
  return _mm_set1_epi32(static_cast<int32_t>(static_cast<uint16_t>(weights[k]) |
                                             static_cast<uint32_t>(second) << 16));
}

// One destination row's vertical sums over span bytes of the source,
// written as 16-bit distances from Middle.
void SumDown(int16_t* out, const TBitmap& source, int32_t firstByte, size_t span, const TAxis& rows,
             int32_t y) {
  const int32_t* weights = &rows.Weights[static_cast<size_t>(y) * rows.Stride];
  const int32_t count = rows.Count[y];
  const uint8_t* first = source.ScanLine(rows.First[y]) + firstByte;
  const size_t stride = source.Stride();
  const __m128i zero = _mm_setzero_si128();
  const __m128i round = _mm_set1_epi32((1 << (CarryShift - 1)) - (Middle << CarryShift));
  size_t n = 0;
  for (; n + 16 <= span; n += 16) {
    __m128i sum[4] = {zero, zero, zero, zero};
    for (int32_t k = 0; k < count; k += 2) {
      const __m128i pair = WeightPair(weights, k, count);
      const uint8_t* upper = first + k * stride + n;
      // The last odd tap pairs with its own row at weight 0.
      const uint8_t* lower = k + 1 < count ? upper + stride : upper;
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower));
      const __m128i aLow = _mm_unpacklo_epi8(a, zero), aHigh = _mm_unpackhi_epi8(a, zero);
      const __m128i bLow = _mm_unpacklo_epi8(b, zero), bHigh = _mm_unpackhi_epi8(b, zero);
      sum[0] = _mm_add_epi32(sum[0], _mm_madd_epi16(_mm_unpacklo_epi16(aLow, bLow), pair));
      sum[1] = _mm_add_epi32(sum[1], _mm_madd_epi16(_mm_unpackhi_epi16(aLow, bLow), pair));
      sum[2] = _mm_add_epi32(sum[2], _mm_madd_epi16(_mm_unpacklo_epi16(aHigh, bHigh), pair));
      sum[3] = _mm_add_epi32(sum[3], _mm_madd_epi16(_mm_unpackhi_epi16(aHigh, bHigh), pair));
    }
    for (__m128i& lanes : sum) lanes = _mm_srai_epi32(_mm_add_epi32(lanes, round), CarryShift);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + n), _mm_packs_epi32(sum[0], sum[1]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + n + 8), _mm_packs_epi32(sum[2], sum[3]));
  }
  for (; n < span; ++n) {
    int32_t sum = 0;
    for (int32_t k = 0; k < count; ++k) sum += weights[k] * first[k * stride + n];
    out[n] = static_cast<int16_t>(((sum + (1 << (CarryShift - 1))) >> CarryShift) - Middle);
  }
}

// One register's lanes, kept aligned in a vector.
struct alignas(16) TLanes {
  __m128i Value;
};

// The lane vectors a destination pixel's taps take, two taps each.
int32_t LanePairs(const TAxis& columns) {
  return (columns.Stride + 1) / 2;
}

// The horizontal weights as pmaddwd takes them: for each destination
// pixel, a lane pair per pair of taps, repeated for blue, green and red
// and 0 in the fourth lane pair, which reads a neighbour's channels.
std::vector<TLanes> AcrossWeights(const TAxis& columns) {
  const int32_t pairs = LanePairs(columns);
  const __m128i threeLanes = _mm_set_epi32(0, -1, -1, -1);
  std::vector<TLanes> out(columns.Count.size() * pairs, {_mm_setzero_si128()});
  for (size_t x = 0; x < columns.Count.size(); ++x) {
    const int32_t* weights = &columns.Weights[x * columns.Stride];
    for (int32_t k = 0; k < columns.Count[x]; k += 2)
      out[x * pairs + k / 2].Value =
          _mm_and_si128(WeightPair(weights, k, columns.Count[x]), threeLanes);
  }
  return out;
}

// One destination row across from the vertical sums, whose pixel p starts
// at line[3 * p]; line has 8 spare lanes at its end.
void SumAcross(uint8_t* out, const int16_t* line, int32_t firstColumn, const TAxis& columns,
               const TLanes* weights, int32_t width) {
  const int32_t pairs = LanePairs(columns);
  constexpr int Bits = WeightBits + CarryBits;
  const __m128i start = _mm_set1_epi32((Middle << WeightBits) + (1 << (Bits - 1)));
  for (int32_t x = 0; x < width; ++x, out += 3, weights += pairs) {
    const int16_t* taps = line + static_cast<size_t>(columns.First[x] - firstColumn) * 3;
    const int32_t count = (columns.Count[x] + 1) / 2;
    __m128i sum = start;
    // A pair of taps is read as eight lanes from the first tap's blue on,
    // and lined up as both pixels' blues, greens and reds side by side.
    for (int32_t k = 0; k < count; ++k, taps += 6) {
      const __m128i both = _mm_loadu_si128(reinterpret_cast<const __m128i*>(taps));
      const __m128i paired = _mm_unpacklo_epi16(both, _mm_srli_si128(both, 6));
      sum = _mm_add_epi32(sum, _mm_madd_epi16(paired, weights[k].Value));
    }
    sum = _mm_srai_epi32(sum, Bits);
    // Saturating packs clamp what the negative lobes overshoot to 0..255.
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(sum, sum), sum);
    const int32_t bgr = _mm_cvtsi128_si32(bytes);
    out[0] = static_cast<uint8_t>(bgr);
    out[1] = static_cast<uint8_t>(bgr >> 8);
    out[2] = static_cast<uint8_t>(bgr >> 16);
  }
}

// across holds the columns' weights as AcrossWeights makes them.
void ScaleRowsWide(TBitmap& dest, const TRect& area, const TAxis& columns, const TAxis& rows,
                   const std::vector<TLanes>& across, const TBitmap& source, int32_t top,
                   int32_t bottom) {
  const int32_t firstColumn = columns.First.front();
  const size_t span = static_cast<size_t>(columns.Reach()) * 3;
  // A pair of taps reads 8 lanes from its first pixel on: up to 8 beyond
  // the last pixel used.
  std::vector<int16_t> line(span + 8);
  for (int32_t y = top; y < bottom; ++y) {
    SumDown(line.data(), source, firstColumn * 3, span, rows, y);
    SumAcross(dest.ScanLine(area.Top + y) + area.Left * 3, line.data(), firstColumn, columns,
              across.data(), area.Width());
  }
}
#endif

void Draw(bool plain, TBitmap& dest, const TRect& clip, const TRect& placement,
          const TBitmap& source, int threads) {
  if (source.IsEmpty() || placement.IsEmpty()) return;
  const TRect area = clip.Intersect(placement).Intersect(dest.Bounds());
  if (area.IsEmpty()) return;
  const TAxis columns(source.Width(), placement.Width(), area.Left - placement.Left,
                      area.Right - placement.Left);
  const TAxis rows(source.Height(), placement.Height(), area.Top - placement.Top,
                   area.Bottom - placement.Top);
  std::function<void(int32_t, int32_t)> scaleRows = [&](int32_t top, int32_t bottom) {
    ScaleRowsPlain(dest, area, columns, rows, source, top, bottom);
  };
#if defined(__SSE2__)
  std::vector<TLanes> across;
  if (!plain && FitsSixteenBits(columns, rows)) {
    across = AcrossWeights(columns);
    scaleRows = [&](int32_t top, int32_t bottom) {
      ScaleRowsWide(dest, area, columns, rows, across, source, top, bottom);
    };
  }
#endif
  ForBands(threads, area.Height(), 16, scaleRows);
}

}  // namespace

void DrawScaled(TBitmap& dest, const TRect& clip, const TRect& placement, const TBitmap& source,
                int threads) {
  Draw(false, dest, clip, placement, source, threads);
}

void DrawScaledPlain(TBitmap& dest, const TRect& clip, const TRect& placement,
                     const TBitmap& source) {
  Draw(true, dest, clip, placement, source, 1);
}

}  // namespace pixvane
