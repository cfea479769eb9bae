#include "graphics/Resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>

#include "graphics/Simd.h"

namespace pixvane {
namespace {

int Green(const TBitmap& bitmap, int32_t x, int32_t y) {
  return (bitmap.Pixel(x, y) >> 8) & 0xFF;
}

TEST(DrawScaled, AFlatColourStaysExactAtAnyScale) {
  TBitmap source(37, 23);
  source.Fill(RGBColor(201, 13, 77));
  for (auto [w, h] : {std::pair{5, 3}, {36, 22}, {37, 23}, {100, 71}}) {
    TBitmap dest(w, h);
    DrawScaled(dest, dest.Bounds(), dest.Bounds(), source);
    for (auto [x, y] : {std::pair{0, 0}, {w - 1, h - 1}, {w / 2, h / 3}})
      EXPECT_EQ(dest.Pixel(x, y), RGBColor(201, 13, 77))
          << w << "x" << h << " at " << x << "," << y;
  }
}

TEST(DrawScaled, ReducingAveragesFineDetailInsteadOfPickingPixels) {
  // One-pixel stripes, reduced by 2 and by a ratio near 3: nearest-pixel
  // sampling would give solid black or white, or a coarse pattern.
  TBitmap stripes(300, 8);
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 300; x += 2) stripes.SetPixel(x, y, 0xFFFFFF);
  for (int32_t width : {150, 97}) {
    TBitmap dest(width, 4);
    DrawScaled(dest, dest.Bounds(), dest.Bounds(), stripes);
    for (int32_t x = 1; x < width - 1; ++x)
      EXPECT_NEAR(Green(dest, x, 2), 128, 24) << width << " at " << x;
  }
}

TEST(DrawScaled, EnlargingBlendsNeighboursSmoothly) {
  TBitmap source(2, 1);
  source.SetPixel(1, 0, 0xFFFFFF);
  TBitmap dest(8, 2);
  DrawScaled(dest, dest.Bounds(), dest.Bounds(), source);
  EXPECT_EQ(Green(dest, 0, 0), 0) << "edges repeat their pixel";
  EXPECT_EQ(Green(dest, 7, 1), 255);
  for (int32_t x = 1; x < 8; ++x) EXPECT_GE(Green(dest, x, 0), Green(dest, x - 1, 0));
  EXPECT_GT(Green(dest, 3, 0), 0);
  EXPECT_LT(Green(dest, 4, 0), 255) << "a ramp, not two blocks";
}

TEST(DrawScaled, OnlyThePlacementInsideTheClipChanges) {
  // A placement hanging over the left edge, clipped to the right half: the
  // left half keeps its colour, and the right half matches the whole draw.
  TBitmap source(64, 16);
  for (int32_t x = 0; x < 64; ++x)
    for (int32_t y = 0; y < 16; ++y) source.SetPixel(x, y, RGBColor(x * 4, y * 16, 0));
  const TRect placement{-30, -5, 130, 45};
  TBitmap whole(100, 40), half(100, 40);
  half.Fill(0x123456);
  DrawScaled(whole, whole.Bounds(), placement, source);
  DrawScaled(half, {50, 0, 100, 40}, placement, source);
  EXPECT_EQ(half.Pixel(49, 20), 0x123456u);
  for (auto [x, y] : {std::pair{50, 0}, {99, 39}, {70, 20}})
    EXPECT_EQ(half.Pixel(x, y), whole.Pixel(x, y)) << x << "," << y;
}

TEST(DrawScaled, ThreadsShareTheRowsAndGiveTheSamePixels) {
  TBitmap source(97, 61);
  for (int32_t x = 0; x < 97; ++x)
    for (int32_t y = 0; y < 61; ++y) source.SetPixel(x, y, RGBColor(x * 37, y * 53, x * y));
  const TRect placement{-7, -3, 140, 90};
  TBitmap one(120, 80), three(120, 80);
  DrawScaled(one, {5, 2, 120, 79}, placement, source);
  DrawScaled(three, {5, 2, 120, 79}, placement, source, 3);
  ASSERT_EQ(one.Stride(), three.Stride());
  EXPECT_TRUE(std::equal(one.Bits(), one.Bits() + one.Stride() * 80, three.Bits()));
}

// A ramp across x: each pixel's green is its column times 10.
TBitmap Ramp(int32_t width, int32_t height) {
  TBitmap ramp(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) ramp.SetPixel(x, y, RGBColor(0, x * 10, y));
  return ramp;
}

TEST(DrawBilinear, WholePixelsCopyExactlyAndFractionsBlendNeighbours) {
  const TBitmap source = Ramp(20, 6);
  TBitmap dest(30, 10);
  dest.Fill(RGBColor(1, 2, 3));
  DrawBilinear(dest, {2, 1, 12, 5}, 2, 1, 20, 6, source);
  for (int32_t y = 1; y < 5; ++y)
    for (int32_t x = 2; x < 12; ++x) EXPECT_EQ(dest.Pixel(x, y), source.Pixel(x - 2, y - 1));
  EXPECT_EQ(dest.Pixel(1, 1), RGBColor(1, 2, 3)) << "nothing outside the clip";
  EXPECT_EQ(dest.Pixel(12, 1), RGBColor(1, 2, 3));

  // A quarter of a pixel to the right: each pixel takes a quarter of its
  // left neighbour, so the ramp reads 2.5 lower everywhere inside.
  DrawBilinear(dest, dest.Bounds(), 0.25, 0, 20, 6, source);
  for (int32_t x = 1; x < 19; ++x) EXPECT_NEAR(Green(dest, x, 3), x * 10 - 2.5, 0.51) << x;
  EXPECT_EQ(Green(dest, 0, 3), 0) << "the outer pixel repeats";
  EXPECT_EQ(Green(dest, 25, 3), 190);
}

TEST(DrawBilinear, ScalingFollowsTheRampWithoutSteps) {
  // Shown 1.5 times as wide, the ramp rises by 10 / 1.5 per pixel, evenly.
  const TBitmap source = Ramp(20, 4);
  TBitmap dest(30, 4);
  DrawBilinear(dest, dest.Bounds(), 0, 0, 30, 4, source);
  for (int32_t x = 2; x < 28; ++x)
    EXPECT_NEAR(Green(dest, x, 1) - Green(dest, x - 1, 1), 10 / 1.5, 1.01) << x;
}

TEST(DrawBilinear, EveryChannelMatchesTheExactBlendUpToTheEdges) {
  // Unrelated values in each channel, so a byte taken from the wrong pixel
  // or channel shows; the view runs past the right and bottom edges, where
  // the outer pixels repeat.
  TBitmap source(23, 17);
  uint32_t seed = 7;
  for (int32_t y = 0; y < source.Height(); ++y)
    for (int32_t x = 0; x < source.Width(); ++x) {
      seed = seed * 1103515245 + 12345;
      source.SetPixel(x, y, seed >> 8 & 0xFFFFFF);
    }
  TBitmap dest(31, 21);
  const double left = -1.3, top = 0.6, width = 23 * 1.13, height = 17 * 1.13;
  DrawBilinear(dest, dest.Bounds(), left, top, width, height, source);
  auto at = [](int32_t i, double origin, double size, int32_t count) {
    return std::clamp((i + 0.5 - origin) * count / size - 0.5, 0.0, count - 1.0);
  };
  for (int32_t y = 0; y < dest.Height(); ++y)
    for (int32_t x = 0; x < dest.Width(); ++x) {
      const double sx = at(x, left, width, 23), sy = at(y, top, height, 17);
      const int32_t x0 = static_cast<int32_t>(sx), y0 = static_cast<int32_t>(sy);
      const int32_t x1 = std::min(x0 + 1, 22), y1 = std::min(y0 + 1, 16);
      const double fx = sx - x0, fy = sy - y0;
      for (int shift : {0, 8, 16}) {
        auto channel = [&](int32_t px, int32_t py) {
          return static_cast<double>(source.Pixel(px, py) >> shift & 0xFF);
        };
        const double exact = (channel(x0, y0) * (1 - fx) + channel(x1, y0) * fx) * (1 - fy) +
                             (channel(x0, y1) * (1 - fx) + channel(x1, y1) * fx) * fy;
        ASSERT_NEAR(static_cast<double>(dest.Pixel(x, y) >> shift & 0xFF), exact, 1.0)
            << x << "," << y << " shift " << shift;
      }
    }
}

TEST(DrawScaled, TheFastPathGivesThePlainPathsBytes) {
  // Noise has the sharpest edges, where the negative lobes overshoot most;
  // the sizes give odd and even tap counts, reducing and enlarging, and a
  // placement cut by the clip on every side.
  std::mt19937 random(20261208);
  TBitmap source(203, 97);
  for (int32_t y = 0; y < source.Height(); ++y)
    for (int32_t x = 0; x < source.Width() * 3; ++x)
      source.ScanLine(y)[x] = static_cast<uint8_t>(random() & 1 ? 255 : random());
  for (auto [w, h] : {std::pair{61, 29}, {100, 48}, {203, 97}, {290, 211}, {7, 3}}) {
    const TRect placement{-3, -2, w - 3, h - 2};
    const TRect clip{1, 1, w - 9, h - 5};
    TBitmap fast(w, h), plain(w, h);
    DrawScaled(fast, clip, placement, source, 2);
    DrawScaledPlain(plain, clip, placement, source);
    EXPECT_TRUE(std::equal(fast.Bits(), fast.Bits() + fast.Stride() * h, plain.Bits()))
        << w << "x" << h;
  }
}

// Every vector path the processor has, and the rows shared out over
// threads, give the plain path's bytes: unrelated values in each channel,
// widths on both sides of the 16- and 32-byte steps, views that run past
// the source's edges, scales above and below 1, and bands of a frame 4K high.
TEST(DrawBilinear, EveryVectorPathAndThreadCountGivesThePlainBytes) {
  std::mt19937 random(11);
  std::uniform_int_distribution<uint32_t> colour(0, 0xFFFFFF);
  struct TCase {
    int32_t width, height;
    double left, top, scale;
  };
  for (const TCase& c : {TCase{5, 3, 0.3, 0, 1.3}, TCase{11, 7, -1.7, 0.45, 1.07},
                         TCase{33, 9, 0.01, -0.99, 0.93}, TCase{64, 150, -3.2, -2.5, 1.15}}) {
    TBitmap source(c.width, c.height);
    for (int32_t y = 0; y < c.height; ++y)
      for (int32_t x = 0; x < c.width; ++x) source.SetPixel(x, y, colour(random));
    const int32_t destWidth = static_cast<int32_t>(c.width * c.scale) + 3;
    const int32_t destHeight = static_cast<int32_t>(c.height * c.scale) + 2;
    auto draw = [&](TSimd simd, int threads) {
      TSimdLimit limit(simd);
      TBitmap dest(destWidth, destHeight);
      DrawBilinear(dest, {1, 0, destWidth, destHeight}, c.left, c.top, c.width * c.scale,
                   c.height * c.scale, source, threads);
      return dest;
    };
    const TBitmap plain = draw(TSimd::Plain, 1);
    for (TSimd simd : {TSimd::Sse2, TSimd::Avx2})
      for (int threads : {1, 2}) {
        const TBitmap fast = draw(simd, threads);
        ASSERT_EQ(0, std::memcmp(fast.Bits(), plain.Bits(), plain.ByteSize()))
            << c.width << "x" << c.height << " path " << int(simd) << " threads " << threads;
      }
  }
}

}  // namespace
}  // namespace pixvane
