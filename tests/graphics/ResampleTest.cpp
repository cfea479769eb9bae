#include "graphics/Resample.h"

#include <gtest/gtest.h>

#include <cstdlib>

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

}  // namespace
}  // namespace pixvane
