#include <gtest/gtest.h>

#include <vector>

#include "graphics/Copy.h"
#include "graphics/Simd.h"

namespace pixvane {
namespace {

constexpr TColor Background = RGBColor(250, 250, 250);

// Every pixel names its own position, so a copied pixel tells where it came
// from.
TBitmap Numbered(int32_t width, int32_t height) {
  TBitmap b(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) b.SetPixel(x, y, RGBColor(x, y, 7));
  return b;
}

TBitmap Blank(int32_t width, int32_t height) {
  TBitmap b(width, height);
  b.Fill(Background);
  return b;
}

// The source x of a destination pixel, or -1 when it kept the background.
int SourceX(const TBitmap& b, int32_t x, int32_t y) {
  TColor c = b.Pixel(x, y);
  return c == Background ? -1 : static_cast<int>(c & 0xFF);
}
int SourceY(const TBitmap& b, int32_t x, int32_t y) {
  TColor c = b.Pixel(x, y);
  return c == Background ? -1 : static_cast<int>((c >> 8) & 0xFF);
}

std::vector<int> RowSources(const TBitmap& b, int32_t y) {
  std::vector<int> xs;
  for (int32_t x = 0; x < b.Width(); ++x) xs.push_back(SourceX(b, x, y));
  return xs;
}

bool SameBits(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

TEST(CopyRect, CutsToBothBitmapsAtAnyOffset) {
  const TBitmap source = Numbered(6, 5);
  TBitmap dest = Blank(5, 4);
  // Placed up and to the left of dest, and the source rectangle hangs over
  // the source's right edge.
  CopyRect(dest, -2, -1, source, TRect{1, 1, 9, 5});
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 5; ++x) {
      const int32_t sx = x + 3, sy = y + 2;  // dest (x, y) <- source (x + 2 + 1, y + 1 + 1)
      if (sx < 6 && sy < 5) {
        EXPECT_EQ(SourceX(dest, x, y), sx);
        EXPECT_EQ(SourceY(dest, x, y), sy);
      } else {
        EXPECT_EQ(dest.Pixel(x, y), Background) << x << "," << y;
      }
    }
}

TEST(CopyRect, SourceRectangleStartingLeftOfTheBitmapKeepsItsPlacement) {
  const TBitmap source = Numbered(4, 4);
  TBitmap dest = Blank(6, 6);
  CopyRect(dest, 1, 1, source, TRect{-2, -1, 2, 2});
  // Source (0, 0) sits 2 right and 1 down of the rectangle's corner.
  EXPECT_EQ(SourceX(dest, 3, 2), 0);
  EXPECT_EQ(SourceY(dest, 3, 2), 0);
  EXPECT_EQ(dest.Pixel(2, 2), Background);
  EXPECT_EQ(dest.Pixel(3, 1), Background);
  EXPECT_EQ(SourceX(dest, 4, 2), 1);
  EXPECT_EQ(dest.Pixel(5, 2), Background);
}

TEST(CopyRect, NothingWhenOutsideOrReversed) {
  const TBitmap source = Numbered(4, 4);
  TBitmap dest = Blank(4, 4);
  const TBitmap before = dest;
  CopyRect(dest, 4, 0, source, source.Bounds());
  CopyRect(dest, 0, -4, source, source.Bounds());
  CopyRect(dest, 0, 0, source, TRect{3, 0, 1, 4});
  CopyRect(dest, 0, 0, source, TRect{5, 5, 9, 9});
  EXPECT_TRUE(SameBits(dest, before));
}

TEST(StretchCopy, OneToOneIsThePlainCopy) {
  const TBitmap source = Numbered(37, 23);
  TBitmap a = Blank(30, 20), b = Blank(30, 20);
  StretchCopy(a, TRect{-3, 4, 34, 27}, source, source.Bounds());
  CopyRect(b, -3, 4, source, source.Bounds());
  EXPECT_TRUE(SameBits(a, b));
}

TEST(StretchCopy, MirrorsEachAxisWhereOneRectangleIsReversed) {
  const TBitmap source = Numbered(4, 3);
  TBitmap h = Blank(4, 3), v = Blank(4, 3), both = Blank(4, 3), twice = Blank(4, 3);
  StretchCopy(h, TRect{4, 0, 0, 3}, source, source.Bounds());
  StretchCopy(v, TRect{0, 3, 4, 0}, source, source.Bounds());
  StretchCopy(both, TRect{0, 0, 4, 3}, source, TRect{4, 3, 0, 0});
  // Reversed on both sides of the same axis is no mirror at all.
  StretchCopy(twice, TRect{4, 0, 0, 3}, source, TRect{4, 0, 0, 3});
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 4; ++x) {
      EXPECT_EQ(SourceX(h, x, y), 3 - x);
      EXPECT_EQ(SourceY(h, x, y), y);
      EXPECT_EQ(SourceX(v, x, y), x);
      EXPECT_EQ(SourceY(v, x, y), 2 - y);
      EXPECT_EQ(SourceX(both, x, y), 3 - x);
      EXPECT_EQ(SourceY(both, x, y), 2 - y);
      EXPECT_EQ(SourceX(twice, x, y), x);
    }
}

TEST(StretchCopy, MirroredStripOfTheStylesCoversOnePixelMoreEachSide) {
  // The mirrored copy of the styles turns D = (2, 0, 6, 2) into the reversed
  // rectangle (7, 0, 1, 2): it covers columns 1 to 6.
  const TBitmap source = Numbered(4, 2);
  TBitmap dest = Blank(9, 2);
  StretchCopy(dest, TRect{7, 0, 1, 2}, source, TRect{0, 0, 4, 2});
  EXPECT_EQ(RowSources(dest, 1), (std::vector<int>{-1, 3, 2, 2, 1, 0, 0, -1, -1}));
}

TEST(StretchCopy, SamplesByTheDocumentedNearestRule) {
  const TBitmap source = Numbered(3, 1);
  TBitmap wide = Blank(5, 1);
  // floor((2i + 1) * 3 / 10) for i = 0 .. 4
  StretchCopy(wide, wide.Bounds(), source, source.Bounds());
  EXPECT_EQ(RowSources(wide, 0), (std::vector<int>{0, 0, 1, 2, 2}));
  StretchCopy(wide, TRect{5, 0, 0, 1}, source, source.Bounds());
  EXPECT_EQ(RowSources(wide, 0), (std::vector<int>{2, 2, 1, 0, 0}));

  const TBitmap long_ = Numbered(8, 1);
  TBitmap half = Blank(4, 1), third = Blank(3, 1);
  StretchCopy(half, half.Bounds(), long_, long_.Bounds());
  EXPECT_EQ(RowSources(half, 0), (std::vector<int>{1, 3, 5, 7}));
  StretchCopy(third, third.Bounds(), long_, long_.Bounds());  // floor((2i + 1) * 8 / 6)
  EXPECT_EQ(RowSources(third, 0), (std::vector<int>{1, 4, 6}));
}

TEST(StretchCopy, EnlargingRepeatsRowsAndColumns) {
  const TBitmap source = Numbered(2, 2);
  TBitmap dest = Blank(4, 6);
  StretchCopy(dest, dest.Bounds(), source, source.Bounds());
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 0; x < 4; ++x) {
      EXPECT_EQ(SourceX(dest, x, y), x / 2);
      EXPECT_EQ(SourceY(dest, x, y), y / 3);
    }
}

TEST(StretchCopy, CuttingTheDestinationKeepsTheSamplingGrid) {
  // The part that lands on a small bitmap equals the same part of the copy
  // into a bitmap large enough for all of it.
  const TBitmap source = Numbered(13, 9);
  const TRect d{-7, -5, 24, 17};
  TBitmap large = Blank(40, 30), small = Blank(10, 8);
  StretchCopy(large, d.Offset(10, 10), source, TRect{13, 1, 2, 9});
  StretchCopy(small, d, source, TRect{13, 1, 2, 9});
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 10; ++x)
      ASSERT_EQ(small.Pixel(x, y), large.Pixel(x + 10, y + 10)) << x << "," << y;
}

TEST(StretchCopy, PixelsSampledOutsideTheSourceKeepTheirValue) {
  const TBitmap source = Numbered(4, 4);
  TBitmap dest = Blank(8, 2);
  // Source columns -2 .. 5 stretched 1:1 wide but squeezed in height.
  StretchCopy(dest, TRect{0, 0, 8, 2}, source, TRect{-2, 0, 6, 4});
  EXPECT_EQ(RowSources(dest, 0), (std::vector<int>{-1, -1, 0, 1, 2, 3, -1, -1}));
  EXPECT_EQ(SourceY(dest, 2, 0), 1);
  EXPECT_EQ(SourceY(dest, 2, 1), 3);
}

TEST(StretchCopy, EmptyRectanglesCopyNothing) {
  const TBitmap source = Numbered(4, 4);
  TBitmap dest = Blank(4, 4);
  const TBitmap before = dest;
  StretchCopy(dest, TRect{0, 0, 0, 4}, source, source.Bounds());
  StretchCopy(dest, dest.Bounds(), source, TRect{1, 1, 1, 3});
  StretchCopy(dest, TRect{-9, 0, -1, 4}, source, source.Bounds());
  EXPECT_TRUE(SameBits(dest, before));
}

TEST(DrawClipped, DrawsOnlyInsideTheRegion) {
  const TBitmap source = Numbered(20, 20);
  TBitmap dest = Blank(20, 20);
  // Bands of 5 rows on a period of 10, as the band styles make them, one of
  // them reaching out of the frame, plus a triangle.
  TRegion clip(TRect{-5, 0, 12, 5});
  clip |= TRegion(TRect{8, 10, 30, 15});
  const TPoint triangle[] = {{0, 20}, {6, 14}, {0, 14}};
  clip |= TRegion::Polygon(triangle);
  DrawClipped(dest, 0, 0, source, clip);
  for (int32_t y = 0; y < 20; ++y)
    for (int32_t x = 0; x < 20; ++x)
      EXPECT_EQ(dest.Pixel(x, y), clip.Contains(x, y) ? source.Pixel(x, y) : Background)
          << x << "," << y;
}

TEST(DrawClipped, RegionIsInDestinationCoordinatesAndSourceIsCut) {
  const TBitmap source = Numbered(6, 6);
  TBitmap dest = Blank(10, 10);
  DrawClipped(dest, 3, -2, source, TRegion(TRect{0, 0, 10, 10}));
  for (int32_t y = 0; y < 10; ++y)
    for (int32_t x = 0; x < 10; ++x) {
      const bool onSource = x >= 3 && x < 9 && y < 4;
      EXPECT_EQ(dest.Pixel(x, y), onSource ? source.Pixel(x - 3, y + 2) : Background);
    }
  TBitmap untouched = Blank(10, 10);
  DrawClipped(untouched, 0, 0, source, TRegion());
  DrawClipped(untouched, 0, 0, source, TRegion(TRect{6, 0, 10, 10}));  // beside the source
  EXPECT_TRUE(SameBits(untouched, Blank(10, 10)));
}

// Widths on both sides of the four-pixel step, with a sentinel past the end.
TEST(CopyToWords, EveryPixelBlueLowTopByteZeroNoPadding) {
  for (int32_t width : {1, 4, 7, 9}) {
    const TBitmap source = Numbered(width, 3);
    std::vector<uint32_t> words(static_cast<size_t>(width) * 3 + 1, 0xDEADBEEF);
    CopyToWords(source, words.data());
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < width; ++x)
        ASSERT_EQ(words[static_cast<size_t>(y) * width + x],
                  uint32_t{7} | uint32_t(y) << 8 | uint32_t(x) << 16)
            << "width " << width << " at " << x << "," << y;
    EXPECT_EQ(words.back(), 0xDEADBEEF) << "width " << width;
  }
}

// The vector path and the rows shared out over threads give the plain
// words: widths on both sides of where the eight-pixel step must stop
// short of the row's end, and a frame tall enough to be cut into bands.
TEST(CopyToWords, EveryVectorPathAndThreadCountGivesThePlainWords) {
  for (auto [width, height] : {std::pair{8, 3}, {9, 2}, {10, 3}, {17, 2}, {18, 1}, {61, 200}}) {
    TBitmap source(width, height);
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x)
        source.SetPixel(x, y, (uint32_t(x) * 2654435761u + uint32_t(y) * 40503u) >> 8 & 0xFFFFFF);
    auto words = [&](TSimd simd, int threads) {
      TSimdLimit limit(simd);
      std::vector<uint32_t> out(static_cast<size_t>(width) * height + 1, 0xDEADBEEF);
      CopyToWords(source, out.data(), threads);
      return out;
    };
    const std::vector<uint32_t> plain = words(TSimd::Plain, 1);
    EXPECT_EQ(plain.back(), 0xDEADBEEF);
    for (TSimd simd : {TSimd::Sse2, TSimd::Avx2})
      for (int threads : {1, 2})
        ASSERT_EQ(words(simd, threads), plain)
            << width << "x" << height << " path " << int(simd) << " threads " << threads;
  }
}

}  // namespace
}  // namespace pixvane
