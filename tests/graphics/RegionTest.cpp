#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "graphics/Region.h"

namespace pixvane {
namespace {

// The region's pixels in a window, one string per row, '#' for inside.
std::vector<std::string> Mask(const TRegion& region, const TRect& window) {
  std::vector<std::string> rows;
  for (int32_t y = window.Top; y < window.Bottom; ++y) {
    std::string row;
    for (int32_t x = window.Left; x < window.Right; ++x) row += region.Contains(x, y) ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

using Rows = std::vector<std::string>;

TEST(Region, RectangleCoversLeftTopButNotRightBottom) {
  const TRegion r(TRect{2, 3, 5, 7});
  EXPECT_TRUE(r.Contains(2, 3));
  EXPECT_TRUE(r.Contains(4, 6));
  EXPECT_FALSE(r.Contains(5, 6));
  EXPECT_FALSE(r.Contains(4, 7));
  EXPECT_FALSE(r.Contains(1, 3));
  EXPECT_EQ(r.Bounds(), (TRect{2, 3, 5, 7}));
  EXPECT_EQ(r.RectCount(), 1u);
}

TEST(Region, ReversedRectanglesAreReorderedAndFlatOnesAreEmpty) {
  EXPECT_EQ(TRegion(TRect{5, 7, 2, 3}), TRegion(TRect{2, 3, 5, 7}));
  EXPECT_EQ(TRegion(TRect{5, 3, 2, 7}), TRegion(TRect{2, 3, 5, 7}));
  EXPECT_TRUE(TRegion(TRect{4, 0, 4, 9}).IsEmpty());
  EXPECT_TRUE(TRegion(TRect{0, 4, 9, 4}).IsEmpty());
  EXPECT_EQ(TRegion(TRect{4, 0, 4, 9}).Bounds(), TRect{});
}

TEST(Region, EmptyRegionsAreEqualWhateverMadeThem) {
  TRegion apart = TRegion(TRect{0, 0, 5, 5}) & TRegion(TRect{10, 10, 20, 20});
  TRegion moved = TRegion(TRect{30, 30, 40, 40}) - TRegion(TRect{0, 0, 100, 100});
  moved.Offset(7, 9);
  EXPECT_TRUE(apart.IsEmpty());
  EXPECT_EQ(apart, TRegion());
  EXPECT_EQ(moved, apart);
  EXPECT_EQ(moved.Bounds(), TRect{});
  EXPECT_EQ(moved.RectCount(), 0u);
  EXPECT_NE(apart, TRegion(TRect{0, 0, 1, 1}));
}

TEST(Region, AlgebraOfTwoOverlappingSquares) {
  const TRegion a(TRect{0, 0, 4, 4});
  const TRegion b(TRect{2, 2, 6, 6});
  const TRect window{0, 0, 6, 6};
  EXPECT_EQ(Mask(a | b, window),
            (Rows{"####..", "####..", "######", "######", "..####", "..####"}));
  EXPECT_EQ(Mask(a & b, window),
            (Rows{"......", "......", "..##..", "..##..", "......", "......"}));
  EXPECT_EQ(Mask(a ^ b, window),
            (Rows{"####..", "####..", "##..##", "##..##", "..####", "..####"}));
  EXPECT_EQ(Mask(a - b, window),
            (Rows{"####..", "####..", "##....", "##....", "......", "......"}));
  EXPECT_EQ((a | b).Bounds(), window);
  // The operators leave their operands alone.
  EXPECT_EQ(a, TRegion(TRect{0, 0, 4, 4}));
}

TEST(Region, XorWithItselfIsEmptyAndWithEmptyIsItself) {
  const TRegion star =
      TRegion::Polygon(std::vector<TPoint>{{6, 0}, {10, 12}, {0, 4}, {12, 4}, {2, 12}});
  EXPECT_TRUE((star ^ star).IsEmpty());
  EXPECT_EQ(star ^ TRegion(), star);
  EXPECT_EQ(TRegion() ^ star, star);
}

TEST(Region, SameSetGivesTheSameRectanglesWhateverTheOrder) {
  // Five-pixel bands on a period of 10, united top-down and bottom-up, and
  // then bridged into one block.
  TRegion down, up;
  for (int32_t y = 0; y < 100; y += 10) down |= TRegion(TRect{0, y, 50, y + 5});
  for (int32_t y = 90; y >= 0; y -= 10) up |= TRegion(TRect{0, y, 50, y + 5});
  EXPECT_EQ(down, up);
  EXPECT_EQ(down.RectCount(), 10u);
  const std::vector<TRect> rects = down.Rects();
  EXPECT_EQ(rects.front(), (TRect{0, 0, 50, 5}));
  EXPECT_EQ(rects.back(), (TRect{0, 90, 50, 95}));
  for (int32_t y = 5; y < 95; y += 10) up |= TRegion(TRect{0, y, 50, y + 5});
  EXPECT_EQ(up, TRegion(TRect{0, 0, 50, 95}));
  EXPECT_EQ(up.RectCount(), 1u);
}

TEST(Region, FromRectsUnitesAndSkipsEmptyOnes) {
  const std::vector<TRect> rects = {{0, 0, 2, 1}, {2, 0, 4, 1}, {5, 5, 3, 9},
                                    {1, 1, 1, 4}, {0, 1, 4, 2}, {1, 0, 3, 2}};
  const TRegion r = TRegion::FromRects(rects);
  EXPECT_EQ(r, TRegion(TRect{0, 0, 4, 2}));
  EXPECT_TRUE(TRegion::FromRects({}).IsEmpty());
}

TEST(Region, OffsetMovesEveryPixel) {
  TRegion r = TRegion(TRect{0, 0, 2, 2}) | TRegion(TRect{3, 3, 4, 5});
  r.Offset(-10, 20);
  EXPECT_EQ(r.Bounds(), (TRect{-10, 20, -6, 25}));
  EXPECT_TRUE(r.Contains(-10, 20));
  EXPECT_TRUE(r.Contains(-7, 24));
  EXPECT_FALSE(r.Contains(0, 0));
}

TEST(Region, CopiesAreIndependentAndMovedFromRegionsStayUsable) {
  TRegion a(TRect{0, 0, 3, 3});
  TRegion copy = a;
  copy |= TRegion(TRect{10, 10, 12, 12});
  EXPECT_EQ(a, TRegion(TRect{0, 0, 3, 3}));
  TRegion assigned;
  assigned = copy;
  assigned.Offset(1, 1);
  EXPECT_TRUE(copy.Contains(10, 10));
  EXPECT_FALSE(assigned.Contains(10, 10));

  TRegion moved = std::move(copy);
  EXPECT_EQ(moved.RectCount(), 2u);
  EXPECT_TRUE(copy.IsEmpty());  // NOLINT: moved-from regions are empty by contract
  copy = TRegion(TRect{1, 1, 2, 2});
  EXPECT_TRUE(copy.Contains(1, 1));
  moved = std::move(assigned);
  EXPECT_TRUE(moved.Contains(11, 11));
  a = a;  // self-assignment keeps the region
  EXPECT_EQ(a.Bounds(), (TRect{0, 0, 3, 3}));
}

// The masks below were recorded from the platform's GDI (CreateRoundRectRgn,
// CreatePolygonRgn and PtInRegion under Wine), so the native build catches a
// change in the scan conversion without Wine.

TEST(RegionGdiMask, RoundRectTenBySevenWithSixByFourCorners) {
  const Rows expected = {".#######...", "#########..", "#########..", "#########..",
                         "#########..", ".#######...", "...........", "..........."};
  EXPECT_EQ(Mask(TRegion::RoundRect(TRect{0, 0, 10, 7}, 6, 4), TRect{0, 0, 11, 8}), expected);
  // Reversed corners and a negative ellipse width make the same region.
  EXPECT_EQ(Mask(TRegion::RoundRect(TRect{10, 7, 0, 0}, -6, 4), TRect{0, 0, 11, 8}), expected);
}

TEST(RegionGdiMask, RoundRectEllipseLargerThanTheRectangleIsLimitedToIt) {
  EXPECT_EQ(Mask(TRegion::RoundRect(TRect{0, 0, 10, 7}, 30, 30), TRect{0, 0, 11, 8}),
            (Rows{"..#####....", ".#######...", "#########..", "#########..", ".#######...",
                  "..#####....", "...........", "..........."}));
}

TEST(RegionGdiMask, RoundRectSmallEllipseAndZeroWidthQuirks) {
  // An ellipse under 2 pixels leaves the rectangle less its last column and
  // row.
  EXPECT_EQ(TRegion::RoundRect(TRect{0, 0, 8, 6}, 1, 5), TRegion(TRect{0, 0, 7, 5}));
  // A rectangle without width keeps a column just left of it.
  EXPECT_EQ(Mask(TRegion::RoundRect(TRect{2, 1, 2, 6}, 4, 4), TRect{0, 0, 4, 7}),
            (Rows{"....", ".#..", ".#..", ".#..", ".#..", "....", "...."}));
  EXPECT_TRUE(TRegion::RoundRect(TRect{2, 1, 3, 6}, 4, 4).IsEmpty());
}

TEST(RegionGdiMask, RoundRectOddCornersAndACurvedFrontCutByTheFrame) {
  EXPECT_EQ(Mask(TRegion::RoundRect(TRect{0, 0, 13, 11}, 9, 7), TRect{0, 0, 13, 11}),
            (Rows{"..########...", ".##########..", "############.", "############.",
                  "############.", "############.", "############.", "############.",
                  ".##########..", "..########...", "............."}));
  // Like the fronts of the rounded styles: reaching above and left of the
  // frame with an ellipse far larger than the rectangle.
  EXPECT_EQ(Mask(TRegion::RoundRect(TRect{-4, -2, 8, 6}, 40, 40), TRect{0, 0, 9, 6}),
            (Rows{"#######..", "#######..", "#######..", "######...", "####.....", "........."}));
}

TEST(RegionGdiMask, Triangles) {
  const std::vector<TPoint> corner = {{0, 0}, {9, 0}, {0, 6}, {0, 0}};
  EXPECT_EQ(Mask(TRegion::Polygon(corner), TRect{0, 0, 10, 7}),
            (Rows{"#########.", "########..", "######....", "#####.....", "###.......",
                  "##........", ".........."}));
  const std::vector<TPoint> bottom = {{10, 8}, {0, 8}, {0, 3}};
  EXPECT_EQ(Mask(TRegion::Polygon(bottom), TRect{0, 3, 11, 9}),
            (Rows{"...........", "##.........", "####.......", "######.....", "########...",
                  "..........."}));
}

TEST(RegionGdiMask, SelfCrossingStarByWindingAndAlternateRules) {
  const std::vector<TPoint> star = {{6, 0}, {10, 12}, {0, 4}, {12, 4}, {2, 12}};
  EXPECT_EQ(
      Mask(TRegion::Polygon(star, TPolyFillMode::Winding), TRect{0, 0, 13, 13}),
      (Rows{".............", "......#......", "......#......", ".....##......", "############.",
            "..#########..", "...#######...", "....#####....", "....#####....", "...###.##....",
            "...##...##...", "...#.....#...", "............."}));
  EXPECT_EQ(
      Mask(TRegion::Polygon(star, TPolyFillMode::Alternate), TRect{0, 0, 13, 13}),
      (Rows{".............", "......#......", "......#......", ".....##......", "#####...####.",
            "..###...###..", "...#....##...", ".............", "....#..##....", "...###.##....",
            "...##...##...", "...#.....#...", "............."}));
}

TEST(RegionGdiMask, BowTieAndConcaveNotchOutsideTheFrame) {
  const std::vector<TPoint> bow = {{0, 0}, {8, 6}, {8, 0}, {0, 6}};
  EXPECT_EQ(Mask(TRegion::Polygon(bow), TRect{0, 0, 9, 7}),
            (Rows{".........", "##.....#.", "###...##.", "########.", "###...##.", "##.....#.",
                  "........."}));
  const std::vector<TPoint> notch = {{-5, -3}, {6, -3}, {6, 4}, {2, 1}, {-5, 4}};
  EXPECT_EQ(
      Mask(TRegion::Polygon(notch), TRect{-6, -4, 7, 5}),
      (Rows{".............", ".###########.", ".###########.", ".###########.", ".###########.",
            ".###########.", ".#####....##.", ".###.......#.", "............."}));
}

TEST(RegionPolygon, WindingFillsWhatAlternateLeavesOpen) {
  // A square walked twice has winding number 2 inside: filled by the winding
  // rule, empty by the alternate rule.
  const std::vector<TPoint> twice = {{0, 0}, {10, 0}, {10, 10}, {0, 10},
                                     {0, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_EQ(TRegion::Polygon(twice, TPolyFillMode::Winding), TRegion(TRect{0, 0, 10, 10}));
  EXPECT_TRUE(TRegion::Polygon(twice, TPolyFillMode::Alternate).IsEmpty());
  // Opposite directions cancel under both rules.
  const std::vector<TPoint> there_and_back = {{0, 0}, {10, 0}, {10, 10}, {0, 10},
                                              {0, 0}, {0, 10}, {10, 10}, {10, 0}};
  EXPECT_TRUE(TRegion::Polygon(there_and_back, TPolyFillMode::Winding).IsEmpty());
}

TEST(RegionPolygon, AxisParallelRectangleEqualsTheRectangleRegion) {
  const std::vector<TPoint> clockwise = {{-3, 2}, {7, 2}, {7, 9}, {-3, 9}};
  const std::vector<TPoint> counter = {{7, 9}, {7, 2}, {-3, 2}, {-3, 9}, {7, 9}};
  EXPECT_EQ(TRegion::Polygon(clockwise), TRegion(TRect{-3, 2, 7, 9}));
  EXPECT_EQ(TRegion::Polygon(counter), TRegion(TRect{-3, 2, 7, 9}));
}

TEST(RegionPolygon, DegeneratePolygonsAreEmpty) {
  EXPECT_TRUE(TRegion::Polygon(std::vector<TPoint>{}).IsEmpty());
  EXPECT_TRUE(TRegion::Polygon(std::vector<TPoint>{{3, 3}}).IsEmpty());
  EXPECT_TRUE(TRegion::Polygon(std::vector<TPoint>{{0, 0}, {30, 17}}).IsEmpty());
  EXPECT_TRUE(TRegion::Polygon(std::vector<TPoint>{{0, 0}, {10, 10}, {20, 20}}).IsEmpty());
  EXPECT_TRUE(TRegion::Polygon(std::vector<TPoint>{{0, 5}, {10, 5}, {20, 5}}).IsEmpty());
}

TEST(RegionPolygon, FullFrameTriangleOfTheDiagonalStyleAtHalfway) {
  // At p = 50 on an 800 x 600 picture the diagonal front is the triangle
  // (0, 0), (800, 0), (0, 600): its hypotenuse leaves x + 4y/3 < 800 inside.
  const std::vector<TPoint> t = {{0, 0}, {800, 0}, {0, 600}, {0, 0}};
  const TRegion r = TRegion::Polygon(t);
  EXPECT_EQ(r.Bounds(), (TRect{0, 0, 800, 600}));
  EXPECT_EQ(r.RectCount(), 600u);  // one row per scanline, each shorter than the last
  EXPECT_TRUE(r.Contains(799, 0));
  EXPECT_TRUE(r.Contains(0, 599));
  EXPECT_FALSE(r.Contains(400, 300));
  EXPECT_TRUE(r.Contains(399, 299));
}

}  // namespace
}  // namespace pixvane
