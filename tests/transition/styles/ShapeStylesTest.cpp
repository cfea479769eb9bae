// The curved and diagonal fronts: rounded rectangles and triangles placed
// as the styles place them, measured against the curves they stand for.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "transition/styles/ShapeRegions.h"
#include "transition/styles/StyleRig.h"

namespace pixvane::test {
namespace {

// Row y of r within the frame as [left, right); empty rows give (0, 0).
std::pair<int, int> RowSpan(const TRegion& r, int y, int W) {
  const TRect b = (r & TRegion(0, y, W, y + 1)).Bounds();
  return {b.Left, b.Right};
}

// Within the part of the frame that `where` picks, the pixels whose centre
// lies clearly inside the ellipse about (cx, cy) with radii rx and ry are in
// r and those clearly outside are not; a pixel and a half of slack for the
// platform's own ellipse walk.
void ExpectEllipse(const TRegion& r, int W, int H, double cx, double cy, double rx, double ry,
                   const std::function<bool(int, int)>& where) {
  const double slack = 1.5 / std::min(rx, ry);
  int checked = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      if (!where(x, y)) continue;
      const double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
      const double rho = std::sqrt(u * u + v * v);
      if (rho < 1 - slack) {
        EXPECT_TRUE(r.Contains(x, y)) << x << ", " << y;
      } else if (rho > 1 + slack) {
        EXPECT_FALSE(r.Contains(x, y)) << x << ", " << y;
      }
      ++checked;
    }
  EXPECT_GT(checked, 0);
}

bool Anywhere(int, int) {
  return true;
}

TEST(ShapeStyles, CurvedFrontIsHalfAnEllipseOnALandscapeFrame) {
  // Style 58 at p = 50 on 200 x 100: the corner ellipses are limited to the
  // rectangle's height, so the front is the half ellipse about the middle of
  // the left edge with radii W and (H + 10) / 2.
  const int W = 200, H = 100;
  const TRegion g = InFrame(*RegionOf(58, W, H, 50), W, H);
  ExpectEllipse(g, W, H, -1, 49.5, W, 54.5, Anywhere);
  for (int y = 0; y < H; ++y) EXPECT_EQ(RowSpan(g, y, W).first, 0) << "row " << y;
  // At the end the straight part covers the frame.
  EXPECT_EQ(InFrame(*RegionOf(58, W, H, 100), W, H), TRegion(0, 0, W, H));
}

TEST(ShapeStyles, FromTheBottomRightCornerTheFrontIsACircle) {
  const int W = 200, H = 100;
  // Style 80: the quarter ellipse of radii W and H about the top-left corner.
  ExpectEllipse(InFrame(*RegionOf(80, W, H, 50), W, H), W, H, -1, -1, W, H, Anywhere);
  // Style 83: its rectangle starts at the top-left corner and its corner is
  // a circle of radius H, not an ellipse of W by H; beside the corner the
  // rectangle is full.
  const TRegion circle = InFrame(*RegionOf(83, W, H, 50), W, H);
  ExpectEllipse(circle, W, H, H, H, H, H, [&](int x, int y) { return x < H && y < H; });
  EXPECT_EQ(circle & TRegion(H, 0, W, H), TRegion(H, 0, W, H));
}

TEST(ShapeStyles, NearEllipseOpensAndTheOutsideCloses) {
  const int W = 160, H = 90;
  // 84 grows from the centre, 85 shows the picture outside a shrinking one.
  for (int p : {10, 50, 90}) {
    const TRegion open = InFrame(*RegionOf(84, W, H, p), W, H);
    const TRegion close = InFrame(*RegionOf(85, W, H, p), W, H);
    EXPECT_TRUE(open.Contains(W / 2, H / 2)) << p;
    EXPECT_EQ(open.Contains(0, 0), p > 50) << p;
    EXPECT_FALSE(close.Contains(W / 2, H / 2)) << p;
    EXPECT_EQ(close.Contains(0, 0), p >= 50) << p;
  }
  EXPECT_TRUE(InFrame(*RegionOf(85, W, H, 0), W, H).IsEmpty());
  // At the end the rounded rectangle (80, 45, 80, 45) has no inside, but
  // the platform's rule (last row and column dropped, then the edges put in
  // order) leaves the one pixel (79, 44) of it.
  EXPECT_EQ(InFrame(*RegionOf(85, W, H, 100), W, H), TRegion(0, 0, W, H) - TRegion(79, 44, 80, 45));
}

TEST(ShapeStyles, DiagonalFrontIsTheExactTriangle) {
  // Style 110 at p = 50 on 800 x 600 is the triangle (0, 0), (800, 0),
  // (0, 600): its long edge leaves row y at 800 - floor(4y / 3).
  const int W = 800, H = 600;
  const TRegion g = InFrame(*RegionOf(110, W, H, 50), W, H);
  std::vector<TRect> rows;
  for (int y = 0; y < H; ++y) rows.push_back({0, y, 800 - (4 * y) / 3, y + 1});
  EXPECT_EQ(g, TRegion::FromRects(rows));
  EXPECT_EQ(InFrame(*RegionOf(110, W, H, 100), W, H), TRegion(0, 0, W, H));
}

TEST(ShapeStyles, TrianglesStartEmptyAndEndCoveringTheFrame) {
  for (int style = 110; style <= 116; ++style)
    for (auto [W, H] : {std::pair{90, 60}, {61, 97}}) {
      EXPECT_TRUE(InFrame(*RegionOf(style, W, H, 0), W, H).IsEmpty()) << style;
      EXPECT_EQ(InFrame(*RegionOf(style, W, H, 100), W, H), TRegion(0, 0, W, H)) << style;
    }
}

TEST(ShapeStyles, TriangleFromEachCorner) {
  // 111 to 113 are 110 mirrored into their corners.
  const int W = 90, H = 60, p = 30;
  const TRegion topLeft = InFrame(*RegionOf(110, W, H, p), W, H);
  auto corner = [&](const TRegion& r, int cx, int cy) {
    return r.Contains(cx ? W - 1 : 0, cy ? H - 1 : 0);
  };
  EXPECT_TRUE(corner(topLeft, 0, 0));
  EXPECT_TRUE(corner(*RegionOf(111, W, H, p), 1, 0));
  EXPECT_TRUE(corner(*RegionOf(112, W, H, p), 0, 1));
  EXPECT_TRUE(corner(*RegionOf(113, W, H, p), 1, 1));
  // Mirrored, the same triangle give or take the edge pixels of each row,
  // which the platform's fill leaves out on the right.
  auto area = [](const TRegion& r) {
    int64_t sum = 0;
    r.ForEachRect([&](const TRect& a) { sum += int64_t{a.Width()} * a.Height(); });
    return sum;
  };
  for (int style = 111; style <= 113; ++style)
    EXPECT_NEAR(area(InFrame(*RegionOf(style, W, H, p), W, H)), area(topLeft), 2 * H) << style;
}

TEST(ShapeStyles, TriangleGridCells) {
  // While PX < 5 the legs are 0 and nothing shows.
  EXPECT_TRUE(RegionOf(117, 200, 100, 2)->IsEmpty());
  // At p = 50 on 200 x 100: legs 20 and 10 in each 20 x 10 cell.
  TRegion expected;
  for (int r = 0; r < 10; ++r)
    for (int c = 0; c < 10; ++c)
      expected |= TriangleRegion({20 * c, 10 * r}, {20 * c + 20, 10 * r}, {20 * c, 10 * r + 10});
  EXPECT_EQ(*RegionOf(117, 200, 100, 50), expected);
  // At p = 100 the triangles are twice the cells and overlap their
  // neighbours; an odd frame puts the cells at (c W) div 10.
  TRegion odd;
  const int W = 123, H = 45, a = 123 / 5, b = (a * H + W / 2) / W;
  for (int r = 0; r < 10; ++r)
    for (int c = 0; c < 10; ++c) {
      const int x0 = c * W / 10, y0 = r * H / 10;
      odd |= TriangleRegion({x0, y0}, {x0 + a, y0}, {x0, y0 + b});
    }
  EXPECT_EQ(*RegionOf(117, W, H, 100), odd);
}

}  // namespace
}  // namespace pixvane::test
