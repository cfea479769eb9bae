// BandRegion and the straight band styles: the worked examples, the modes
// of both halves, the snap, and columns as the rows turned.
#include <gtest/gtest.h>

#include "transition/styles/BandRegion.h"
#include "transition/styles/StyleRig.h"

namespace pixvane::test {
namespace {

using enum TBandMode;
constexpr TBandMode AllModes[] = {FromFar, FromNear, Opposite, NearThenFar, FarThenNear};

TRegion Bands(int W, int H, int hr, int vr, TBandMode horzMode, TBandMode vertMode, int snap) {
  std::optional<TRegion> r = BandRegion(W, H, hr, vr, horzMode, vertMode, snap);
  EXPECT_TRUE(r.has_value());
  return r ? InFrame(*r, W, H) : TRegion();
}

TEST(BandRegion, RowsFromTheLeftInBothHalves) {
  // Style 61 on 100 x 20 (S = MulDiv(100, 4, 90) = 4).
  EXPECT_EQ(InFrame(*RegionOf(61, 100, 20, 25), 100, 20), Rects({{0, 0, 50, 5}, {0, 10, 50, 15}}));
  EXPECT_EQ(InFrame(*RegionOf(61, 100, 20, 75), 100, 20),
            Rects({{0, 0, 100, 5}, {0, 10, 100, 15}, {0, 5, 50, 10}, {0, 15, 50, 20}}));
  // And what the view draws through it.
  TStyleRig rig(100, 20, 61);
  EXPECT_EQ(InPlaceMask(rig.Render(25), rig.Picture()), Rects({{0, 0, 50, 5}, {0, 10, 50, 15}}));
}

TEST(BandRegion, FirstSetSnapsToFullLength) {
  // 2PX + S above W while 2PX is still within it: p = 49 gives 98 + 4 > 100.
  EXPECT_EQ(InFrame(*RegionOf(60, 100, 20, 49), 100, 20),
            Rects({{0, 0, 100, 5}, {0, 10, 100, 15}}));
  // p = 48 gives 96 + 4, not above: the bands still grow from the right.
  EXPECT_EQ(InFrame(*RegionOf(60, 100, 20, 48), 100, 20),
            Rects({{4, 0, 100, 5}, {4, 10, 100, 15}}));
  // A larger step snaps earlier: Step 10 gives S = 11.
  EXPECT_EQ(InFrame(*RegionOf(60, 100, 20, 45, 10), 100, 20),
            Rects({{0, 0, 100, 5}, {0, 10, 100, 15}}));
}

TEST(BandRegion, ModesOfTheFirstHalf) {
  const TRegion fromRight = Rects({{40, 0, 100, 5}, {40, 10, 100, 15}});
  const TRegion fromLeft = Rects({{0, 0, 60, 5}, {0, 10, 60, 15}});
  EXPECT_EQ(Bands(100, 20, 60, 0, FromFar, None, 0), fromRight);
  EXPECT_EQ(Bands(100, 20, 60, 0, FromNear, None, 0), fromLeft);
  EXPECT_EQ(Bands(100, 20, 60, 0, NearThenFar, None, 0), fromLeft);
  EXPECT_EQ(Bands(100, 20, 60, 0, FarThenNear, None, 0), fromRight);
  // Opposite: the first set from the right, the set between from the left.
  EXPECT_EQ(Bands(100, 20, 30, 0, Opposite, None, 0),
            Rects({{70, 0, 100, 5}, {70, 10, 100, 15}, {0, 5, 30, 10}, {0, 15, 30, 20}}));
}

TEST(BandRegion, ModesOfTheSecondHalf) {
  const TRegion firstSet = Rects({{0, 0, 100, 5}, {0, 10, 100, 15}});
  const TRegion fromRight = firstSet | Rects({{40, 5, 100, 10}, {40, 15, 100, 20}});
  const TRegion fromLeft = firstSet | Rects({{0, 5, 60, 10}, {0, 15, 60, 20}});
  EXPECT_EQ(Bands(100, 20, 160, 0, FromFar, None, 4), fromRight);
  EXPECT_EQ(Bands(100, 20, 160, 0, FromNear, None, 4), fromLeft);
  EXPECT_EQ(Bands(100, 20, 160, 0, NearThenFar, None, 4), fromRight);
  EXPECT_EQ(Bands(100, 20, 160, 0, FarThenNear, None, 4), fromLeft);
  EXPECT_EQ(Bands(100, 20, 160, 0, Opposite, None, 4), firstSet) << "Opposite has no second half";
  // The whole frame at the end, whatever the mode.
  for (TBandMode mode : {FromFar, FromNear, NearThenFar, FarThenNear})
    EXPECT_EQ(Bands(100, 20, 200, 0, mode, None, 4), TRegion(0, 0, 100, 20));
}

TEST(BandRegion, BandsAtTheFrameEdge) {
  // Rows go on while their start is under H + 5: on a 23-pixel frame the
  // band from 20 is cut by the frame, and in the second half the full band
  // (20, 25) comes from the step at 25.
  EXPECT_EQ(Bands(100, 23, 60, 0, FromNear, None, 0),
            Rects({{0, 0, 60, 5}, {0, 10, 60, 15}, {0, 20, 60, 23}}));
  EXPECT_EQ(
      Bands(100, 23, 160, 0, FromNear, None, 0),
      Rects({{0, 0, 100, 5}, {0, 10, 100, 15}, {0, 20, 100, 23}, {0, 5, 60, 10}, {0, 15, 60, 20}}));
}

TEST(BandRegion, ColumnsAreTheRowsTurned) {
  for (TBandMode mode : AllModes)
    for (int reach : {0, 13, 37, 60, 61, 99, 140}) {
      const TRegion columns = *BandRegion(60, 37, 0, reach, None, mode, 4);
      const TRegion rows = *BandRegion(37, 60, reach, 0, mode, None, 4);
      EXPECT_EQ(columns, Transposed(rows))
          << "mode " << static_cast<int>(mode) << ", reach " << reach;
    }
}

TEST(BandRegion, RowsAndColumnsTogetherAndNone) {
  EXPECT_EQ(
      *BandRegion(50, 40, 30, 20, FromNear, FromFar, 0),
      *BandRegion(50, 40, 30, 0, FromNear, None, 0) | *BandRegion(50, 40, 0, 20, None, FromFar, 0));
  EXPECT_FALSE(BandRegion(50, 40, 30, 20, None, None, 0).has_value());
}

TEST(BandStyles, OverlapOfTwoPatterns) {
  // Style 99: rows and columns from the left and top, cut by the same from
  // the right and bottom.
  const TRegion both = *RegionOf(99, 80, 60, 30);
  const TRegion leftTop = *RegionOf(89, 80, 60, 30), rightBottom = *RegionOf(86, 80, 60, 30);
  EXPECT_EQ(both, leftTop & rightBottom);
  EXPECT_FALSE(InFrame(both, 80, 60).IsEmpty());
  EXPECT_NE(InFrame(both, 80, 60), InFrame(leftTop, 80, 60));
}

TEST(BandStyles, AlternateRowsGrowFromBothSidesAtOnce) {
  // Style 64 at p = 30 on 100 x 20: reach PX = 30, no snap.
  EXPECT_EQ(InFrame(*RegionOf(64, 100, 20, 30), 100, 20),
            Rects({{70, 0, 100, 5}, {70, 10, 100, 15}, {0, 5, 30, 10}, {0, 15, 30, 20}}));
  // Style 75 the same for columns, reach PY on a portrait frame.
  EXPECT_EQ(InFrame(*RegionOf(75, 20, 100, 30), 20, 100),
            Rects({{0, 70, 5, 100}, {10, 70, 15, 100}, {5, 0, 10, 30}, {15, 0, 20, 30}}));
}

}  // namespace
}  // namespace pixvane::test
