// The pixel styles write the screen's rows directly: the cross fade here,
// the corner swings in SwingStyles.cpp. Nothing is decided per pixel that
// can be decided per frame or per row.
#include "transition/styles/PixelStyles.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "transition/styles/Styles.h"

namespace pixvane {

namespace {

// x div 100 for 0 <= x <= 25500 as one multiply and shift:
// 41944 / 2^22 exceeds 1/100 by less than 0.01 / 25500, too little to carry
// any quotient over the next whole number.
constexpr uint32_t DivideBy100Magic = 41944;
constexpr int DivideBy100Shift = 22;

void FadeRow(uint8_t* s, const uint8_t* n, size_t count, uint32_t keep, uint32_t take) {
  size_t i = 0;
#if defined(__SSE2__)
  // Sixteen components at a time in 16-bit lanes: the products fit, and the
  // high half of a product with the magic is the division but for the last
  // shift of 6.
  const __m128i zero = _mm_setzero_si128();
  const __m128i keepV = _mm_set1_epi16(static_cast<int16_t>(keep));
  const __m128i takeV = _mm_set1_epi16(static_cast<int16_t>(take));
  const __m128i magic = _mm_set1_epi16(static_cast<int16_t>(DivideBy100Magic));
  auto term = [&](__m128i v, __m128i factor) {
    return _mm_srli_epi16(_mm_mulhi_epu16(_mm_mullo_epi16(v, factor), magic),
                          DivideBy100Shift - 16);
  };
  for (; i + 16 <= count; i += 16) {
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    const __m128i nv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(n + i));
    const __m128i low = _mm_add_epi16(term(_mm_unpacklo_epi8(sv, zero), keepV),
                                      term(_mm_unpacklo_epi8(nv, zero), takeV));
    const __m128i high = _mm_add_epi16(term(_mm_unpackhi_epi8(sv, zero), keepV),
                                       term(_mm_unpackhi_epi8(nv, zero), takeV));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(s + i), _mm_packus_epi16(low, high));
  }
#endif
  for (; i < count; ++i)
    s[i] = static_cast<uint8_t>((s[i] * keep * DivideBy100Magic >> DivideBy100Shift) +
                                (n[i] * take * DivideBy100Magic >> DivideBy100Shift));
}

}  // namespace

void CrossFade(TBitmap& screen, const TBitmap& picture, int p) {
  const uint32_t take = static_cast<uint32_t>(std::clamp(p, 0, 100));
  const size_t rowBytes = static_cast<size_t>(screen.Width()) * TBitmap::BytesPerPixel;
  for (int32_t y = 0; y < screen.Height(); ++y)
    FadeRow(screen.ScanLine(y), picture.ScanLine(y), rowBytes, 100 - take, take);
}

void AddPixelStyles(TStepTable& t) {
  t[118] = [](TFrame& f) { CrossFade(f.Screen, f.Picture, f.p); };
}

}  // namespace pixvane
