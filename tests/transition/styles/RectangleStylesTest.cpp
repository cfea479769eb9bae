// The rectangle styles 1 to 57: the worked examples, the flap, the pieces
// drawn before the completion and the vertical styles as the horizontal
// ones turned.
#include <gtest/gtest.h>

#include "transition/styles/RectangleStyles.h"
#include "transition/styles/StyleRig.h"

namespace pixvane::test {
namespace {

TEST(RectangleStyles, WipeFromTheLeftHalfway) {
  TStyleRig rig(200, 100, 5);
  const TBitmap& screen = rig.Render(50);
  EXPECT_EQ(InPlaceMask(screen, rig.Picture()), TRegion(0, 0, 100, 100));
  EXPECT_EQ(ChangedMask(screen, rig.Old()), TRegion(0, 0, 100, 100));
}

TEST(RectangleStyles, PortraitFrameAdvancesTheLongerSide) {
  // PY = 100, PX = MulDiv(100, 100, 200) = 50: the corner wipe shows 50 x 100.
  TStyleRig rig(100, 200, 43);
  EXPECT_EQ(InPlaceMask(rig.Render(50), rig.Picture()), TRegion(0, 0, 50, 100));
}

TEST(RectangleStyles, BothEdgesAtTwoPercent) {
  TStyleRig rig(100, 40, 12);
  EXPECT_EQ(InPlaceMask(rig.Render(2), rig.Picture()), Rects({{0, 0, 2, 40}, {98, 0, 100, 40}}));
}

TEST(RectangleStyles, EarlierPiecesAreRepaintedWithTheLast) {
  TStyleRig rig(100, 40, 12);
  rig.Render(10);
  rig.Render(50);  // half(PX) = 25
  EXPECT_EQ(rig.Repainted(), Rects({{0, 0, 26, 40}, {74, 0, 100, 40}}));

  TStyleRig corners(100, 60, 55);
  corners.Render(10);
  corners.Render(50);  // half(PX) = 25, half(PY) = 15
  const TRegion expected =
      Rects({{0, 0, 26, 16}, {0, 44, 26, 60}, {74, 44, 100, 60}, {74, 0, 100, 16}});
  EXPECT_EQ(corners.Repainted(), expected);
  EXPECT_EQ(InPlaceMask(corners.Render(50), corners.Picture()), expected);
}

TEST(RectangleStyles, FlapWidthGrowsKeepsAndShrinks) {
  EXPECT_EQ(FlapWidth(500, 50), 25);   // W div 5 = 100 > 50
  EXPECT_EQ(FlapWidth(500, 250), 50);  // W div 10
  EXPECT_EQ(FlapWidth(500, 475), 12);  // half(25)
  EXPECT_EQ(FlapWidth(500, 0), 0);
  EXPECT_EQ(FlapWidth(500, 500), 0);
  EXPECT_EQ(FlapWidth(500, 100), 50);  // 100 is no longer under a fifth
}

// Columns [from, to) of the screen show picture columns turned over: all
// from [lowest, highest], never increasing from left to right, each column
// straight down.
void ExpectTurnedOver(const TBitmap& screen, int from, int to, int lowest, int highest) {
  int previous = highest;
  for (int x = from; x < to; ++x) {
    const TColor top = screen.Pixel(x, 0);
    ASSERT_TRUE(IsPicturePixel(top)) << "column " << x;
    const int source = SourceX(top);
    EXPECT_GE(source, lowest) << "column " << x;
    EXPECT_LE(source, previous) << "column " << x;
    previous = source;
    for (int y = 0; y < screen.Height(); ++y) EXPECT_EQ(screen.Pixel(x, y), CodeOf(source, y));
  }
}

TEST(RectangleStyles, FlapShowsTheNextColumnsTurnedOver) {
  TStyleRig rig(500, 20, 14);
  // p = 10: PX = 50, F = 25; the flap (50, 75) shows columns 75 to 99.
  const TBitmap& early = rig.Render(10);
  EXPECT_EQ(InPlaceMask(early, rig.Picture()) & TRegion(0, 0, 50, 20), TRegion(0, 0, 50, 20));
  ExpectTurnedOver(early, 50, 75, 75, 99);
  EXPECT_EQ(ChangedMask(early, rig.Old()), TRegion(0, 0, 76, 20)) << "one column beyond the flap";
  EXPECT_EQ(rig.Repainted(), TRegion(0, 0, 76, 20));
  // p = 50: F = 50, the flap (250, 300) shows columns 300 to 349.
  ExpectTurnedOver(rig.Render(50), 250, 300, 300, 349);
  // p = 95: F = 12, the flap (475, 487) shows columns 487 to 498.
  const TBitmap& late = rig.Render(95);
  ExpectTurnedOver(late, 475, 487, 487, 498);
  EXPECT_EQ(ChangedMask(late, rig.Old()), TRegion(0, 0, 488, 20));
}

TEST(RectangleStyles, FlapFromTheRightMirrorsTheLeftOne) {
  TStyleRig rig(500, 20, 15);
  // p = 10: the edge is at 450, the flap (425, 450) shows columns 400 to 424.
  const TBitmap& screen = rig.Render(10);
  ExpectTurnedOver(screen, 425, 450, 400, 424);
  EXPECT_EQ(ChangedMask(screen, rig.Old()), TRegion(424, 0, 500, 20));
}

TEST(RectangleStyles, MirrorCopyCutsTheSourceToThePicture) {
  const TBitmap picture = CodedPicture(40, 4);
  TBitmap screen = OldPicture(40, 4);
  // Half of the source lies beyond the picture: only columns 30 to 39 are
  // turned over, stretched across the whole strip.
  const TRect covered = MirrorCopy(screen, picture, {0, 0, 20, 4}, {30, 0, 50, 4}, false);
  EXPECT_EQ(covered, (TRect{-1, 0, 21, 4}));
  ExpectTurnedOver(screen, 0, 21, 30, 39);
  // A source entirely outside draws nothing, it is not read reversed.
  TBitmap untouched = OldPicture(40, 4);
  MirrorCopy(untouched, picture, {0, 0, 20, 4}, {45, 0, 50, 4}, false);
  EXPECT_TRUE(ChangedMask(untouched, OldPicture(40, 4)).IsEmpty());
}

TEST(RectangleStyles, VerticalStylesAreTheHorizontalOnesTurned) {
  // Style n + 17 on the turned pictures draws the turned frame of style n,
  // also in the pixels of every stretched and mirrored copy.
  const int W = 120, H = 50;
  const TBitmap old = OldPicture(W, H), picture = CodedPicture(W, H);
  for (int style = 1; style <= 17; ++style) {
    TStyleRig across(old, picture, style);
    TStyleRig down(Transposed(old), Transposed(picture), style + 17);
    for (int p : {0, 3, 10, 37, 50, 81, 96}) {
      EXPECT_EQ(InPlaceMask(down.Render(p), Transposed(across.Render(p))), TRegion(0, 0, H, W))
          << "style " << style + 17 << " at p = " << p;
      EXPECT_EQ(down.Repainted(), Transposed(across.Repainted()))
          << "style " << style + 17 << " at p = " << p;
    }
  }
}

TEST(RectangleStyles, VerticalTableAsWritten) {
  // Two entries straight from the vertical table, so turning is not taken
  // on trust: 29's first piece is rows 0 to half(PY), 33 smears the rows
  // PY to PY + H div 20 over the rest.
  TStyleRig both(40, 100, 29);
  EXPECT_EQ(InPlaceMask(both.Render(20), both.Picture()),
            Rects({{0, 0, 40, 11}, {0, 89, 40, 100}}));
  TStyleRig smear(40, 100, 33);
  const TBitmap& screen = smear.Render(30);  // PY = 30, the smear reads rows 30 to 34
  EXPECT_EQ(InPlaceMask(screen, smear.Picture()) & TRegion(0, 0, 40, 30), TRegion(0, 0, 40, 30));
  for (int y = 30; y < 100; ++y) {
    EXPECT_GE(SourceY(screen.Pixel(7, y)), 30);
    EXPECT_LE(SourceY(screen.Pixel(7, y)), 34);
  }
}

TEST(RectangleStyles, QuartersSlideInAtFullSize) {
  // Style 57 at p = 50 on 100 x 60: the top-left quarter (0, 0, 51, 31)
  // lies at (-25, 0), the top-right one (49, 0, 100, 31) at (49, -15).
  TStyleRig rig(100, 60, 57);
  const TBitmap& screen = rig.Render(50);
  EXPECT_EQ(screen.Pixel(0, 0), CodeOf(25, 0));
  EXPECT_EQ(screen.Pixel(25, 30), CodeOf(50, 30));
  EXPECT_EQ(screen.Pixel(60, 0), CodeOf(60, 15));
  EXPECT_EQ(screen.Pixel(99, 15), CodeOf(99, 30));
  EXPECT_EQ(screen.Pixel(30, 40), rig.Old().Pixel(30, 40)) << "not reached by any quarter";
}

// Every pixel of screen within box shows a picture pixel from within the
// source rectangle.
void ExpectBoxFrom(const TBitmap& screen, const TRect& box, const TRect& source) {
  for (int y = box.Top; y < box.Bottom; ++y)
    for (int x = box.Left; x < box.Right; ++x) {
      const TColor c = screen.Pixel(x, y);
      ASSERT_TRUE(IsPicturePixel(c)) << x << ", " << y;
      EXPECT_TRUE(source.Contains(SourceX(c), SourceY(c))) << x << ", " << y;
    }
}

TEST(RectangleStyles, HalvesAndQuartersSqueezedToTheirSides) {
  // Style 13 at p = 50 on 100 x 40: the left half (to column 50) in
  // (0, 26), the right half from column 50 in (74, 100).
  TStyleRig halves(100, 40, 13);
  const TBitmap& sides = halves.Render(50);
  ExpectBoxFrom(sides, {0, 0, 26, 40}, {0, 0, 51, 40});
  ExpectBoxFrom(sides, {74, 0, 100, 40}, {50, 0, 100, 40});
  EXPECT_EQ(ChangedMask(sides, halves.Old()), Rects({{0, 0, 26, 40}, {74, 0, 100, 40}}));
  // Style 56 on 100 x 60: each quarter in a box at its corner; the quarters
  // meet at column 50 / 51 and row 30 / 31. At p = 80 the boxes are large
  // enough to show the first row and column of each quarter.
  TStyleRig quarters(100, 60, 56);
  for (int p : {50, 80}) {
    const int hx = 100 * p / 200, hy = 60 * p / 200;  // half(PX), half(PY)
    const TBitmap& corners = quarters.Render(p);
    ExpectBoxFrom(corners, {0, 0, hx + 1, hy + 1}, {0, 0, 51, 31});
    ExpectBoxFrom(corners, {0, 60 - hy, hx + 1, 60}, {0, 31, 51, 60});
    ExpectBoxFrom(corners, {100 - hx, 60 - hy, 100, 60}, {51, 31, 100, 60});
    ExpectBoxFrom(corners, {100 - hx, 0, 100, hy + 1}, {51, 0, 100, 31});
    EXPECT_EQ(ChangedMask(corners, quarters.Old()), Rects({{0, 0, hx + 1, hy + 1},
                                                           {0, 60 - hy, hx + 1, 60},
                                                           {100 - hx, 60 - hy, 100, 60},
                                                           {100 - hx, 0, 100, hy + 1}}));
  }
}

TEST(RectangleStyles, SqueezedPictureKeepsItsCorners) {
  // Style 52 at p = 50 on 200 x 100: the whole picture in (50, 25, 150, 75).
  TStyleRig rig(200, 100, 52);
  const TBitmap& screen = rig.Render(50);
  EXPECT_EQ(ChangedMask(screen, rig.Old()), TRegion(50, 25, 150, 75));
  EXPECT_EQ(SourceX(screen.Pixel(50, 25)), 1);
  EXPECT_EQ(SourceX(screen.Pixel(149, 74)), 199);
  EXPECT_EQ(SourceY(screen.Pixel(149, 74)), 99);
}

}  // namespace
}  // namespace pixvane::test
