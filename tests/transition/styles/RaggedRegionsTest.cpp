// The random regions: what they draw from the generator and in which order,
// the shape of their rows, and the literal union of squares and cells that
// the direct rectangle lists must equal.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/Random.h"
#include "transition/styles/RaggedRegions.h"
#include "transition/styles/StyleRig.h"

namespace pixvane::test {
namespace {

using enum TRaggedMode;
constexpr TRaggedMode AllModes[] = {FromFar, FromNear, Outward, Inward};

// The generator's state after count draws from state seed.
uint32_t StateAfter(uint32_t seed, int count) {
  TRandom random(seed);
  for (int i = 0; i < count; ++i) random.Random(7);
  return random.RandSeed();
}

// The span of row y of region r (its first rectangle there).
TRect RowAt(const TRegion& r, int y) {
  return (r & TRegion(-100000, y, 100000, y + 1)).Bounds();
}

TEST(RaggedBandRegion, JitterDrawsTwiceForEveryEdgeInOrder) {
  TRandom random;
  const int W = 140, H = 50, reach = 60, a = W / 7;
  // From the near edge: row 0 ends at HR + rand(a) - rand(a).
  random.SetRandSeed(1234);
  const int first = random.Random(a), second = random.Random(a);
  random.SetRandSeed(1234);
  const TRegion fromLeft = *RaggedBandRegion(random, W, H, reach, 0, FromNear, None);
  EXPECT_EQ(RowAt(fromLeft, 0), (TRect{0, 0, reach + first - second, 1}));
  EXPECT_EQ(random.RandSeed(), StateAfter(1234, 2 * 10)) << "two draws for each of the ten rows";

  // Outward: the left edge takes the first pair, the right edge the second.
  random.SetRandSeed(99);
  const int l1 = random.Random(a), l2 = random.Random(a), r1 = random.Random(a),
            r2 = random.Random(a);
  random.SetRandSeed(99);
  const TRegion outward = *RaggedBandRegion(random, W, H, reach, 0, Outward, None);
  EXPECT_EQ(RowAt(outward, 0), (TRect{(W - reach + l1 - l2) / 2, 0, (W + reach + r1 - r2) / 2, 1}));
  EXPECT_EQ(random.RandSeed(), StateAfter(99, 4 * 10));

  // Rows before columns: the column pass starts where the row pass ended.
  random.SetRandSeed(5);
  const TRegion rows = *RaggedBandRegion(random, W, H, reach, 0, FromFar, None);
  const TRegion columns = *RaggedBandRegion(random, W, H, 0, 30, None, FromNear);
  random.SetRandSeed(5);
  EXPECT_EQ(*RaggedBandRegion(random, W, H, reach, 30, FromFar, FromNear), rows | columns);
}

TEST(RaggedBandRegion, RowsOverlapByTheRestOfFive) {
  TRandom random;
  // H = 103: rows are 8 high and start every 5 pixels, the last at 100.
  random.SetRandSeed(77);
  const TRegion r = *RaggedBandRegion(random, 200, 103, 90, 0, FromNear, None);
  EXPECT_EQ(r.Bounds().Bottom, 108);
  for (int y0 = 0; y0 + 10 <= 100; y0 += 5) {
    // Rows y0 + 3 .. y0 + 4 belong to this row alone, y0 + 5 .. y0 + 7 also
    // to the next one, which alone covers y0 + 8 .. y0 + 9.
    const int own = RowAt(r, y0 + 3).Right;
    EXPECT_EQ(RowAt(r, y0 + 4).Right, own);
    const int next = RowAt(r, y0 + 8).Right;
    EXPECT_EQ(RowAt(r, y0 + 9).Right, next);
    for (int y = y0 + 5; y < y0 + 8; ++y) EXPECT_EQ(RowAt(r, y).Right, std::max(own, next)) << y;
  }
}

TEST(RaggedBandRegion, ReversedEdgesStillCover) {
  TRandom random;
  // With a reach of 0 the jitter turns half the rows around; such a row
  // covers the pixels between its edges, as the platform's rectangles do.
  random.SetRandSeed(3);
  const TRegion r = InFrame(*RaggedBandRegion(random, 140, 100, 0, 0, Outward, None), 140, 100);
  EXPECT_FALSE(r.IsEmpty());
  EXPECT_TRUE(r.Bounds().Left >= 70 - 10 && r.Bounds().Right <= 70 + 10);
}

TEST(RaggedBandRegion, FullReachIsStraightAndComplete) {
  TRandom random;
  for (TRaggedMode mode : AllModes) {
    random.SetRandSeed(11);
    EXPECT_EQ(InFrame(*RaggedBandRegion(random, 120, 33, 120, 0, mode, None), 120, 33),
              TRegion(0, 0, 120, 33))
        << "rows, mode " << static_cast<int>(mode);
    EXPECT_EQ(InFrame(*RaggedBandRegion(random, 120, 34, 0, 34, None, mode), 120, 34),
              TRegion(0, 0, 120, 34))
        << "columns, mode " << static_cast<int>(mode);
  }
  EXPECT_FALSE(RaggedBandRegion(random, 120, 34, 10, 10, None, None).has_value());
}

TEST(RaggedBandRegion, ColumnsAreTheRowsTurned) {
  TRandom random;
  for (TRaggedMode mode : AllModes) {
    random.SetRandSeed(21);
    const TRegion columns = *RaggedBandRegion(random, 91, 140, 0, 50, None, mode);
    random.SetRandSeed(21);
    const TRegion rows = *RaggedBandRegion(random, 140, 91, 50, 0, mode, None);
    EXPECT_EQ(columns, Transposed(rows)) << "mode " << static_cast<int>(mode);
  }
}

// The grain pass as written: a solid band and each chosen cell united one
// by one, for rows only.
TRegion LiteralGrainRows(TRandom& random, int W, int H, int hr, TGrainMode mode) {
  const bool fromFar = mode == TGrainMode::FromFar;
  const int e = hr < W ? W / 10 : 0;
  const int f = std::max(e / 20, 2), n = e / f, q = ((3 * e) / f) / 4;
  TRegion result;
  for (int y0 = 0; y0 < H; y0 += f / 2) {
    TRegion row = fromFar ? TRegion(W - hr, y0, W, y0 + f) : TRegion(0, y0, hr, y0 + f);
    for (int k = n; k >= 1; --k) {
      if (random.Random(k) > (k <= q ? 1 : 0)) continue;
      row |= fromFar ? TRegion(W - hr - k * f, y0, W - hr - k * f + f, y0 + f)
                     : TRegion(hr + (k - 1) * f, y0, hr + k * f, y0 + f);
    }
    result |= row;
  }
  return result;
}

TEST(GrainEdgeRegion, EqualsTheCellsUnitedOneByOne) {
  TRandom random;
  for (TGrainMode mode : {TGrainMode::FromFar, TGrainMode::FromNear})
    for (int W : {20, 57, 400, 1000})
      for (int hr : {0, W / 3, W - 1}) {
        random.SetRandSeed(static_cast<uint32_t>(W * 31 + hr));
        const TRegion expected = LiteralGrainRows(random, W, 45, hr, mode);
        const uint32_t after = random.RandSeed();
        random.SetRandSeed(static_cast<uint32_t>(W * 31 + hr));
        EXPECT_EQ(*GrainEdgeRegion(random, W, 45, hr, 0, mode, TGrainMode::None), expected)
            << "mode " << static_cast<int>(mode) << ", W " << W << ", reach " << hr;
        EXPECT_EQ(random.RandSeed(), after);
      }
}

TEST(GrainEdgeRegion, CellsAheadOfTheFront) {
  TRandom random;
  // W = 1000: depth 100, cells of 5, 20 of them; the first always comes.
  random.SetRandSeed(8);
  const TRegion r = InFrame(
      *GrainEdgeRegion(random, 1000, 60, 300, 0, TGrainMode::FromNear, TGrainMode::None), 1000, 60);
  EXPECT_TRUE(TRegion(0, 0, 305, 60) - r == TRegion());
  EXPECT_LE(r.Bounds().Right, 400);
  EXPECT_GT(r.Bounds().Right, 305) << "no cell beyond the first was chosen in 30 rows";
  // From the far edge it draws the same and lays the cells out from the right.
  random.SetRandSeed(8);
  std::vector<TRect> mirrored;
  r.ForEachRect([&](const TRect& a) {
    mirrored.push_back({1000 - a.Right, a.Top, 1000 - a.Left, a.Bottom});
  });
  EXPECT_EQ(
      InFrame(*GrainEdgeRegion(random, 1000, 60, 300, 0, TGrainMode::FromFar, TGrainMode::None),
              1000, 60),
      TRegion::FromRects(mirrored));
}

TEST(GrainEdgeRegion, NoCellsUnderTwentyPixelsOrAtFullReach) {
  TRandom random(42);
  EXPECT_EQ(InFrame(*GrainEdgeRegion(random, 19, 30, 5, 0, TGrainMode::FromNear, TGrainMode::None),
                    19, 30),
            TRegion(0, 0, 5, 30));
  EXPECT_EQ(InFrame(*GrainEdgeRegion(random, 30, 19, 0, 7, TGrainMode::None, TGrainMode::FromFar),
                    30, 19),
            TRegion(0, 12, 30, 19));
  EXPECT_EQ(random.RandSeed(), 42u) << "no cells, no draws";
  EXPECT_EQ(
      InFrame(*GrainEdgeRegion(random, 300, 40, 300, 0, TGrainMode::FromFar, TGrainMode::None), 300,
              40),
      TRegion(0, 0, 300, 40));
  EXPECT_EQ(random.RandSeed(), 42u);
  // At 20 pixels there is one cell, always chosen: one draw per row.
  EXPECT_EQ(InFrame(*GrainEdgeRegion(random, 20, 30, 5, 0, TGrainMode::FromNear, TGrainMode::None),
                    20, 30),
            TRegion(0, 0, 7, 30));
  EXPECT_EQ(random.RandSeed(), StateAfter(42, 30));
}

// The dissolve as written: every chosen square united one by one.
TRegion LiteralDissolve(TRandom& random, int W, int H, int p) {
  const int d = std::max(std::min(W, H) / 50 + p / 10, 1);
  TRegion result;
  for (int x = 0; x < W; x += d)
    for (int y = 0; y < H; y += d)
      if (random.Random(100) < p) result |= TRegion(x - d, y - d, x + d, y + d);
  return result;
}

TEST(DissolveRegion, EqualsTheSquaresUnitedOneByOne) {
  TRandom random;
  for (int p : {1, 9, 30, 64, 99})
    for (auto [W, H] : {std::pair{1, 1}, {7, 3}, {120, 77}, {77, 260}, {333, 101}}) {
      random.SetRandSeed(static_cast<uint32_t>(p * 1000 + W));
      const TRegion expected = LiteralDissolve(random, W, H, p);
      const uint32_t after = random.RandSeed();
      random.SetRandSeed(static_cast<uint32_t>(p * 1000 + W));
      EXPECT_EQ(DissolveRegion(random, W, H, p), expected) << W << " x " << H << " at " << p;
      EXPECT_EQ(random.RandSeed(), after);
    }
}

TEST(DissolveRegion, PitchGrowsWithProgress) {
  TRandom random;
  // 300 x 100 at p = 100: pitch 2 + 10, every square chosen.
  const TRegion all = DissolveRegion(random, 300, 100, 100);
  EXPECT_EQ(all.Bounds(), (TRect{-12, -12, 300, 108}));
  EXPECT_EQ(InFrame(all, 300, 100), TRegion(0, 0, 300, 100));
  // Under 50 pixels only the progress makes the pitch, at least 1.
  EXPECT_EQ(DissolveRegion(random, 1, 1, 100), TRegion(-10, -10, 10, 10));
  EXPECT_EQ(DissolveRegion(random, 30, 30, 100).Bounds(), (TRect{-10, -10, 30, 30}));
}

TEST(DissolveStyle, NoSquareChosenShowsNothing) {
  TRandom random;
  // Find a state from which a 10 x 10 frame at p = 1 chooses none of its
  // 100 squares (about one state in three does).
  uint32_t seed = 1;
  for (;; ++seed) {
    random.SetRandSeed(seed);
    if (DissolveRegion(random, 10, 10, 1).IsEmpty()) break;
  }
  random.SetRandSeed(seed);
  const std::optional<TRegion> g = RegionOf(127, 10, 10, 1, 4, random);
  ASSERT_TRUE(g.has_value()) << "an empty region, not none";
  EXPECT_TRUE(g->IsEmpty());

  TStyleRig rig(10, 10, 127);
  rig.Render(2);
  rig.Random.SetRandSeed(seed);
  EXPECT_TRUE(ChangedMask(rig.Render(1), rig.Old()).IsEmpty());
}

}  // namespace
}  // namespace pixvane::test
