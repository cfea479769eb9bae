#include "host/linux/SurfaceCopy.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define PIXVANE_SSSE3_ROWS 1
#endif

namespace pixvane {
namespace {

constexpr uint32_t Opaque = 0xFF000000u;

bool TakesXrgb(const SDL_PixelFormat& format) {
  return format.BytesPerPixel == 4 && format.Rmask == 0x00FF0000u && format.Gmask == 0x0000FF00u &&
         format.Bmask == 0x000000FFu;
}

uint32_t LoadWord(const uint8_t* bytes) {
  uint32_t word;
  std::memcpy(&word, bytes, sizeof word);
  return SDL_SwapLE32(word);
}

#ifdef PIXVANE_SSSE3_ROWS
__attribute__((target("ssse3"))) void BgrToXrgbRowSsse3(const uint8_t* bgr, uint32_t* xrgb,
                                                        int32_t count) {
  // Four pixels a shuffle; each load reads 16 bytes for the 12 it uses, so
  // the loop stops while the row still has those 4 bytes beyond the group.
  const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m128i opaque = _mm_set1_epi32(static_cast<int>(Opaque));
  int32_t x = 0;
  for (; x + 6 <= count; x += 4, bgr += 12) {
    const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(xrgb + x),
                     _mm_or_si128(_mm_shuffle_epi8(pixels, spread), opaque));
  }
  BgrToXrgbRowPlain(bgr, xrgb + x, count - x);
}
#endif

}  // namespace

void BgrToXrgbRow(const uint8_t* bgr, uint32_t* xrgb, int32_t count) {
#ifdef PIXVANE_SSSE3_ROWS
  static const bool ssse3 = __builtin_cpu_supports("ssse3");
  if (ssse3) return BgrToXrgbRowSsse3(bgr, xrgb, count);
#endif
  BgrToXrgbRowPlain(bgr, xrgb, count);
}

void BgrToXrgbRowPlain(const uint8_t* bgr, uint32_t* xrgb, int32_t count) {
  // Four pixels are twelve bytes, three whole words: each pixel is cut from
  // them with shifts instead of being assembled from single bytes, which
  // keeps a full frame's conversion well under a millisecond.
  int32_t x = 0;
  for (; x + 4 <= count; x += 4, bgr += 12) {
    const uint32_t a = LoadWord(bgr), b = LoadWord(bgr + 4), c = LoadWord(bgr + 8);
    xrgb[x] = Opaque | a;
    xrgb[x + 1] = Opaque | a >> 24 | b << 8;
    xrgb[x + 2] = Opaque | b >> 16 | c << 16;
    xrgb[x + 3] = Opaque | c >> 8;
  }
  for (; x < count; ++x, bgr += 3)
    xrgb[x] = Opaque | uint32_t{bgr[2]} << 16 | uint32_t{bgr[1]} << 8 | bgr[0];
}

TRect CopyToSurface(const TBitmap& frame, const TRect& area, SDL_Surface& surface) {
  const TRect copied = area.Intersect(frame.Bounds()).Intersect({0, 0, surface.w, surface.h});
  if (copied.IsEmpty()) return {};
  if (SDL_MUSTLOCK(&surface) && SDL_LockSurface(&surface) != 0) return {};
  const uint8_t* source = frame.ScanLine(copied.Top) + size_t(copied.Left) * TBitmap::BytesPerPixel;
  uint8_t* target = static_cast<uint8_t*>(surface.pixels) + size_t(copied.Top) * surface.pitch +
                    size_t(copied.Left) * surface.format->BytesPerPixel;
  if (TakesXrgb(*surface.format)) {
    for (int32_t y = 0; y < copied.Height(); ++y)
      BgrToXrgbRow(source + y * frame.Stride(),
                   reinterpret_cast<uint32_t*>(target + size_t(y) * surface.pitch), copied.Width());
  } else {
    SDL_ConvertPixels(copied.Width(), copied.Height(), SDL_PIXELFORMAT_BGR24, source,
                      static_cast<int>(frame.Stride()), surface.format->format, target,
                      surface.pitch);
  }
  if (SDL_MUSTLOCK(&surface)) SDL_UnlockSurface(&surface);
  return copied;
}

}  // namespace pixvane
