#include "graphics/Resample.h"

#include <algorithm>
#include <cmath>
#include <thread>
#include <vector>

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
  }
};

// Rows [top, bottom) of area, of the scaling the two axes describe.
void ScaleRows(TBitmap& dest, const TRect& area, const TAxis& columns, const TAxis& rows,
               const TBitmap& source, int32_t top, int32_t bottom) {
  // Only the source columns the horizontal taps reach are filtered vertically.
  const int32_t firstColumn = columns.First.front();
  const int32_t lastColumn = columns.First.back() + columns.Count.back();
  const size_t span = static_cast<size_t>(lastColumn - firstColumn) * 3;
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

}  // namespace

void DrawScaled(TBitmap& dest, const TRect& clip, const TRect& placement, const TBitmap& source,
                int threads) {
  if (source.IsEmpty() || placement.IsEmpty()) return;
  const TRect area = clip.Intersect(placement).Intersect(dest.Bounds());
  if (area.IsEmpty()) return;
  const TAxis columns(source.Width(), placement.Width(), area.Left - placement.Left,
                      area.Right - placement.Left);
  const TAxis rows(source.Height(), placement.Height(), area.Top - placement.Top,
                   area.Bottom - placement.Top);
  // Each thread a band of whole rows: they write apart and read only.
  const int32_t height = area.Height();
  const int32_t bands = std::clamp(threads, 1, std::max(1, height / 16));
  std::vector<std::thread> helpers;
  for (int32_t band = 1; band < bands; ++band)
    helpers.emplace_back([&, band] {
      ScaleRows(dest, area, columns, rows, source, height * band / bands,
                height * (band + 1) / bands);
    });
  ScaleRows(dest, area, columns, rows, source, 0, height / bands);
  for (std::thread& helper : helpers) helper.join();
}

}  // namespace pixvane
