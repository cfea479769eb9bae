#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "host/linux/SurfaceCopy.h"

namespace pixvane {
namespace {

using TSurface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

constexpr uint8_t Untouched = 0x5A;

TSurface MakeSurface(int w, int h, uint32_t format) {
  TSurface surface(SDL_CreateRGBSurfaceWithFormat(0, w, h, 0, format), &SDL_FreeSurface);
  std::memset(surface->pixels, Untouched, size_t(surface->pitch) * h);
  return surface;
}

// Every byte differs from its neighbours, so a channel or pixel taken from
// the wrong place shows.
TBitmap Noise(int w, int h) {
  TBitmap bitmap(w, h);
  uint32_t state = 12345;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w * TBitmap::BytesPerPixel; ++x) {
      state = state * 1103515245 + 12345;
      bitmap.ScanLine(y)[x] = uint8_t(state >> 16);
    }
  return bitmap;
}

// What SDL's own conversion makes of the same rectangle, for comparison.
TSurface Reference(const TBitmap& frame, const TRect& r, int w, int h, uint32_t format) {
  TSurface surface = MakeSurface(w, h, format);
  auto* target = static_cast<uint8_t*>(surface->pixels) + r.Top * surface->pitch +
                 r.Left * surface->format->BytesPerPixel;
  SDL_ConvertPixels(r.Width(), r.Height(), SDL_PIXELFORMAT_BGR24,
                    frame.ScanLine(r.Top) + r.Left * 3, int(frame.Stride()), format, target,
                    surface->pitch);
  return surface;
}

void ExpectSame(const SDL_Surface& a, const SDL_Surface& b) {
  ASSERT_EQ(a.pitch, b.pitch);
  for (int y = 0; y < a.h; ++y)
    ASSERT_EQ(0, std::memcmp(static_cast<const uint8_t*>(a.pixels) + y * a.pitch,
                             static_cast<const uint8_t*>(b.pixels) + y * b.pitch, a.pitch))
        << "row " << y;
}

TEST(SurfaceCopy, XrgbRowsMatchByteAssembledPixels) {
  // Lengths around the groups of four, and the shuffle's last whole group.
  const TBitmap frame = Noise(40, 1);
  for (auto* convert : {&BgrToXrgbRow, &BgrToXrgbRowPlain}) {
    for (int count = 0; count <= 40; ++count) {
      uint32_t row[41] = {};
      convert(frame.ScanLine(0), row, count);
      for (int x = 0; x < count; ++x) {
        const uint8_t* p = frame.ScanLine(0) + 3 * x;
        ASSERT_EQ(row[x], 0xFF000000u | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0])
            << count << " pixels, pixel " << x << (convert == &BgrToXrgbRow ? "" : " (plain)");
      }
      ASSERT_EQ(row[count], 0u) << "written past " << count << " pixels";
    }
  }
}

TEST(SurfaceCopy, ChangedRectangleAloneLandsAsSdlWouldConvertIt) {
  const TBitmap frame = Noise(37, 23);
  const TRect area{5, 3, 30, 19};  // odd width: a tail after the groups of four
  for (uint32_t format : {SDL_PIXELFORMAT_RGB888, SDL_PIXELFORMAT_ARGB8888, SDL_PIXELFORMAT_BGR888,
                          SDL_PIXELFORMAT_RGB565}) {
    SCOPED_TRACE(SDL_GetPixelFormatName(format));
    TSurface surface = MakeSurface(37, 23, format);
    EXPECT_EQ(CopyToSurface(frame, area, *surface), area);
    TSurface expected = Reference(frame, area, 37, 23, format);
    if (format == SDL_PIXELFORMAT_RGB888) {
      // SDL leaves the unused byte as it finds it; ours sets it. Only the
      // colour bytes count there.
      for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x) {
          auto* row = static_cast<uint32_t*>(expected->pixels) + y * expected->pitch / 4;
          row[x] |= 0xFF000000u;
        }
    }
    ExpectSame(*surface, *expected);
  }
}

TEST(SurfaceCopy, ClipsToFrameAndSurface) {
  const TBitmap frame = Noise(20, 10);
  TSurface surface = MakeSurface(16, 12, SDL_PIXELFORMAT_RGB888);
  // The view's buffer and the window disagree for a moment after a resize.
  EXPECT_EQ(CopyToSurface(frame, {-4, -4, 40, 40}, *surface), (TRect{0, 0, 16, 10}));
  TSurface expected = Reference(frame, {0, 0, 16, 10}, 16, 12, SDL_PIXELFORMAT_ARGB8888);
  ExpectSame(*surface, *expected);
  EXPECT_TRUE(CopyToSurface(frame, {16, 0, 20, 10}, *surface).IsEmpty());
  EXPECT_TRUE(CopyToSurface(frame, {3, 3, 3, 8}, *surface).IsEmpty());
}

}  // namespace
}  // namespace pixvane
