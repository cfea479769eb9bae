#include "graphics/Copy.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define PIXVANE_AVX2 1
#endif

#include "graphics/Bands.h"
#include "graphics/Simd.h"

namespace pixvane {

namespace {

constexpr int32_t Bpp = TBitmap::BytesPerPixel;

// Copies the rectangle area (in destination coordinates, already inside
// dest) from source, whose pixel (sx, sy) lands on dest (sx + dx, sy + dy);
// area must also lie on source after that shift.
void CopyRows(TBitmap& dest, const TBitmap& source, const TRect& area, int32_t dx, int32_t dy) {
  const size_t rowBytes = static_cast<size_t>(area.Width()) * Bpp;
  uint8_t* to = dest.ScanLine(area.Top) + static_cast<size_t>(area.Left) * Bpp;
  const uint8_t* from = source.ScanLine(area.Top - dy) + static_cast<size_t>(area.Left - dx) * Bpp;
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    std::memcpy(to, from, rowBytes);
    to += dest.Stride();
    from += source.Stride();
  }
}

// For each of the count destination cells of one axis, the source cell it
// samples (0 .. size - 1, from the source's start, mirrored when asked):
// floor((2i + 1) * size / (2 count)), stepped with integers only.
void SampleAxis(std::vector<int32_t>& map, int32_t count, int32_t size, bool mirror) {
  map.resize(static_cast<size_t>(count));
  const int64_t denominator = int64_t{2} * count;
  const int64_t step = int64_t{2} * size;
  int64_t whole = size / denominator;  // always 0 unless shrinking a lot
  int64_t rest = size % denominator;
  const int64_t stepWhole = step / denominator;
  const int64_t stepRest = step % denominator;
  for (int32_t i = 0; i < count; ++i) {
    map[i] = static_cast<int32_t>(mirror ? size - 1 - whole : whole);
    whole += stepWhole;
    rest += stepRest;
    if (rest >= denominator) {
      rest -= denominator;
      ++whole;
    }
  }
}

size_t RowBytesOf(const TBitmap& b) {
  return static_cast<size_t>(b.Width()) * Bpp;
}

#if defined(PIXVANE_AVX2)
// Eight pixels at a time, four from each half of the register, each byte
// moved to its place by one shuffle (the fourth of each word from a zero).
// The upper half's load reads four bytes past its pixels, so the loop stops
// while those are still on the row; returns the pixels done.
__attribute__((target("avx2"))) int32_t RowToWordsAvx2(const uint8_t* in, uint32_t* out,
                                                       int32_t width) {
  const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0,
                                          1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  int32_t x = 0;
  for (; x + 10 <= width; x += 8, in += 24) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 12));
    const __m256i both = _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), _mm256_shuffle_epi8(both, spread));
  }
  return x;
}
#endif

// Four pixels from three words at a time; the last few one by one.
void RowToWords(const uint8_t* in, uint32_t* out, int32_t width, TSimd simd) {
  int32_t x = 0;
#if defined(PIXVANE_AVX2)
  if (simd == TSimd::Avx2) {
    x = RowToWordsAvx2(in, out, width);
    in += static_cast<size_t>(x) * Bpp;
    out += x;
  }
#endif
  for (; x + 4 <= width; x += 4, in += 12, out += 4) {
    uint32_t a, b, c;
    std::memcpy(&a, in, 4);
    std::memcpy(&b, in + 4, 4);
    std::memcpy(&c, in + 8, 4);
    out[0] = a & 0xFFFFFF;
    out[1] = (a >> 24) | (b & 0xFFFF) << 8;
    out[2] = (b >> 16) | (c & 0xFF) << 16;
    out[3] = c >> 8;
  }
  for (; x < width; ++x, in += 3) *out++ = in[0] | in[1] << 8 | in[2] << 16;
}

}  // namespace

void CopyToWords(const TBitmap& source, uint32_t* out, int threads) {
  const size_t width = static_cast<size_t>(source.Width());
  ForBands(threads, source.Height(), 64, [&](int32_t top, int32_t bottom) {
    CopyRowsToWords(source, top, bottom, out + width * static_cast<size_t>(top));
  });
}

void CopyRowsToWords(const TBitmap& source, int32_t top, int32_t bottom, uint32_t* out) {
  const TSimd simd = ActiveSimd();
  for (int32_t y = top; y < bottom; ++y, out += source.Width())
    RowToWords(source.ScanLine(y), out, source.Width(), simd);
}

void CopyRect(TBitmap& dest, int32_t x, int32_t y, const TBitmap& source, const TRect& sourceRect) {
  const TRect from = sourceRect.Intersect(source.Bounds());
  if (from.IsEmpty()) return;
  // Shift the usable source part to the destination and cut it there.
  const int64_t dx = int64_t{x} - sourceRect.Left;
  const int64_t dy = int64_t{y} - sourceRect.Top;
  const int64_t left = std::max<int64_t>(from.Left + dx, 0);
  const int64_t top = std::max<int64_t>(from.Top + dy, 0);
  const int64_t right = std::min<int64_t>(from.Right + dx, dest.Width());
  const int64_t bottom = std::min<int64_t>(from.Bottom + dy, dest.Height());
  if (left >= right || top >= bottom) return;
  CopyRows(dest, source,
           TRect{static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right),
                 static_cast<int32_t>(bottom)},
           static_cast<int32_t>(dx), static_cast<int32_t>(dy));
}

void StretchCopy(TBitmap& dest, const TRect& destRect, const TBitmap& source,
                 const TRect& sourceRect) {
  const TRect d = destRect.Normalized();
  const TRect s = sourceRect.Normalized();
  if (d.IsEmpty() || s.IsEmpty()) return;
  const bool mirrorX = (destRect.Left > destRect.Right) != (sourceRect.Left > sourceRect.Right);
  const bool mirrorY = (destRect.Top > destRect.Bottom) != (sourceRect.Top > sourceRect.Bottom);
  if (!mirrorX && !mirrorY && d.Width() == s.Width() && d.Height() == s.Height()) {
    CopyRect(dest, d.Left, d.Top, source, s);
    return;
  }

  // The maps cover the whole destination rectangle so that cutting it to the
  // bitmaps does not move the sampling grid.
  thread_local std::vector<int32_t> columns, rows;
  SampleAxis(columns, d.Width(), s.Width(), mirrorX);
  SampleAxis(rows, d.Height(), s.Height(), mirrorY);

  // Columns that land on dest and sample a column of source. The map is
  // monotonic, so they form one run; turn it into byte offsets once.
  int32_t first = std::max(0, -d.Left);
  int32_t last = std::min(d.Width(), dest.Width() - d.Left);  // exclusive
  while (first < last &&
         static_cast<uint32_t>(s.Left + columns[first]) >= static_cast<uint32_t>(source.Width()))
    ++first;
  while (last > first &&
         static_cast<uint32_t>(s.Left + columns[last - 1]) >= static_cast<uint32_t>(source.Width()))
    --last;
  if (first >= last) return;
  for (int32_t i = first; i < last; ++i) columns[i] = (s.Left + columns[i]) * Bpp;
  const int32_t* column = columns.data() + first;
  const int32_t count = last - first;
  const size_t rowBytes = static_cast<size_t>(count) * Bpp;

  const int32_t rowFirst = std::max(0, -d.Top);
  const int32_t rowLast = std::min(d.Height(), dest.Height() - d.Top);
  const uint8_t* previousFrom = nullptr;
  const uint8_t* previousTo = nullptr;
  for (int32_t i = rowFirst; i < rowLast; ++i) {
    const int32_t sy = s.Top + rows[i];
    if (sy < 0 || sy >= source.Height()) continue;
    const uint8_t* from = source.ScanLine(sy);
    uint8_t* to = dest.ScanLine(d.Top + i) + static_cast<size_t>(d.Left + first) * Bpp;
    if (from == previousFrom) {
      // An enlarged row repeats the one above it.
      std::memcpy(to, previousTo, rowBytes);
      previousTo = to;
      continue;
    }
    // Pixels move as 4-byte words, each overwriting the first byte of the
    // next pixel before that one is written. The last pixel of a row takes 3
    // bytes so nothing beyond the span changes; a 4-byte read of the source
    // may run into the row's padding or the next row, but never past the
    // last byte of the bitmap.
    const bool wideReads = sy + 1 < source.Height() || source.Stride() > RowBytesOf(source);
    int32_t k = 0;
    if (wideReads) {
      for (; k + 1 < count; ++k) {
        uint32_t pixel;
        std::memcpy(&pixel, from + column[k], 4);
        std::memcpy(to + k * 3, &pixel, 4);
      }
    }
    for (; k < count; ++k) std::memcpy(to + k * 3, from + column[k], 3);
    previousFrom = from;
    previousTo = to;
  }
}

void DrawClipped(TBitmap& dest, int32_t x, int32_t y, const TBitmap& source, const TRegion& clip) {
  // Only pixels that are on dest, covered by the placed source and inside
  // the region are drawn.
  const TRect placed = source.Bounds().Offset(x, y).Intersect(dest.Bounds());
  if (placed.IsEmpty()) return;
  clip.ForEachRect([&](const TRect& r) {
    const TRect area = r.Intersect(placed);
    if (!area.IsEmpty()) CopyRows(dest, source, area, x, y);
  });
}

}  // namespace pixvane
