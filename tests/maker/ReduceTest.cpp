#include <gtest/gtest.h>

#include "maker/Reduce.h"

namespace pixvane::maker {
namespace {

TEST(Reduce, PicturesFitInsideWithTheirProportions) {
  // A 24-megapixel camera picture into a 4K screen, either way up.
  EXPECT_EQ(FitInside(6000, 4000, 3840, 2160), (TPictureSize{3240, 2160}));
  EXPECT_EQ(FitInside(4000, 6000, 3840, 2160), (TPictureSize{1440, 2160}));
  // The side that overflows more decides; the other side is rounded.
  EXPECT_EQ(FitInside(8000, 2000, 3840, 2160), (TPictureSize{3840, 960}));
  EXPECT_EQ(FitInside(1001, 3, 100, 100), (TPictureSize{100, 1}));
  EXPECT_EQ(FitInside(5000, 1, 100, 100), (TPictureSize{100, 1}));  // never 0
  // Never enlarged; a picture that fits exactly stays.
  EXPECT_EQ(FitInside(3840, 2160, 3840, 2160), (TPictureSize{3840, 2160}));
  EXPECT_EQ(FitInside(640, 480, 3840, 2160), (TPictureSize{640, 480}));
}

TEST(Reduce, AreaAverageWeighsWhatEachPixelCovers) {
  // Three columns into two: the middle one is split between both halves.
  TBitmap source(3, 1);
  source.SetPixel(0, 0, RGBColor(0, 0, 0));
  source.SetPixel(1, 0, RGBColor(90, 90, 90));
  source.SetPixel(2, 0, RGBColor(210, 210, 210));
  TBitmap half = AreaAverage(source, 2, 1);
  EXPECT_EQ(half.Pixel(0, 0), RGBColor(30, 30, 30));     // (0 * 1 + 90 * 0.5) / 1.5
  EXPECT_EQ(half.Pixel(1, 0), RGBColor(170, 170, 170));  // (90 * 0.5 + 210) / 1.5

  // A fine checkerboard, which nearest-pixel sampling would turn black or
  // white, averages to grey; each channel keeps its own value.
  TBitmap board(8, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x)
      board.SetPixel(x, y, (x + y) % 2 ? RGBColor(255, 0, 100) : RGBColor(1, 0, 100));
  TBitmap grey = AreaAverage(board, 4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(grey.Pixel(x, y), RGBColor(128, 0, 100));
}

}  // namespace
}  // namespace pixvane::maker
