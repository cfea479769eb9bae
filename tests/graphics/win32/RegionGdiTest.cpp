// Every region shape and operation of the transition engine, built once by
// TRegion and once by the platform's GDI, must cover the same pixels. The
// cases are drawn from a fixed seed so a failure repeats, and the few
// hand-picked ones are the shapes the styles really make.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "base/win32/Handles.h"
#include "graphics/Region.h"
#include "support/win32/GdiRegionRects.h"
#include "transition/win32/PlatformRoundRect.h"

namespace pixvane {
namespace {

std::string Describe(const TRegion& region) {
  std::ostringstream out;
  out << region.RectCount() << " rects:";
  int shown = 0;
  region.ForEachRect([&](const TRect& r) {
    if (shown++ < 12)
      out << " (" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << ")";
  });
  return out.str();
}

// Counts the comparisons and reports the first few differences with enough
// detail to turn them into a fixed test.
class TComparer {
 public:
  void Compare(const std::string& what, const TRegion& ours, HRGN gdi) {
    ++FCases;
    const TRegion theirs = test::FromGdi(gdi);
    bool same = ours == theirs;
    // Every so often also ask the platform pixel by pixel, around the shape
    // and a margin, so that reading its rectangle list cannot hide a fault.
    if (same && gdi && FCases % 16 == 0) {
      TRect box = theirs.IsEmpty() ? ours.Bounds() : theirs.Bounds();
      if (int64_t{box.Width() + 4} * (box.Height() + 4) <= 20000) {
        for (int32_t y = box.Top - 2; y < box.Bottom + 2 && same; ++y)
          for (int32_t x = box.Left - 2; x < box.Right + 2 && same; ++x)
            same = (PtInRegion(gdi, x, y) != 0) == ours.Contains(x, y);
        ++FPixelChecked;
      }
    }
    if (!same && ++FFailures <= 20)
      ADD_FAILURE() << what << "\n  ours: " << Describe(ours) << "\n  GDI:  " << Describe(theirs);
  }
  // A case whose platform result is undefined (see
  // RoundRectIsDefinedByPlatform) is counted, not compared.
  void Skip() { ++FSkipped; }
  int Cases() const { return FCases; }
  void Report(const char* group) const {
    std::printf(
        "[ GDI      ] %s: %d regions compared, %d also point by point, %d undefined skipped\n",
        group, FCases, FPixelChecked, FSkipped);
  }

 private:
  int FCases = 0;
  int FPixelChecked = 0;
  int FFailures = 0;
  int FSkipped = 0;
};

class TCaseRandom {
 public:
  explicit TCaseRandom(uint32_t seed) : FGen(seed) {}
  // Uniform enough in lo .. hi (inclusive), and the same on every library.
  int32_t Range(int32_t lo, int32_t hi) {
    return lo + static_cast<int32_t>(FGen() % static_cast<uint32_t>(hi - lo + 1));
  }
  bool Chance(int percent) { return Range(0, 99) < percent; }

 private:
  std::mt19937 FGen;
};

std::string RectText(const char* name, const TRect& r) {
  std::ostringstream out;
  out << name << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
  return out.str();
}

std::string PolygonText(const std::vector<TPoint>& points, TPolyFillMode mode) {
  std::ostringstream out;
  out << "Polygon(" << (mode == TPolyFillMode::Winding ? "winding" : "alternate") << ":";
  for (const TPoint& p : points) out << " (" << p.X << "," << p.Y << ")";
  out << ")";
  return out.str();
}

// A rectangle around a 100 x 80 frame, often reaching out of it, sometimes
// with reversed or equal edges.
TRect RandomRect(TCaseRandom& random) {
  TRect r{random.Range(-60, 140), random.Range(-50, 120), 0, 0};
  int32_t w = random.Chance(10) ? random.Range(0, 2) : random.Range(0, 180);
  int32_t h = random.Chance(10) ? random.Range(0, 2) : random.Range(0, 150);
  r.Right = r.Left + (random.Chance(15) ? -w : w);
  r.Bottom = r.Top + (random.Chance(15) ? -h : h);
  return r;
}

int32_t RandomEllipse(TCaseRandom& random, int32_t side) {
  side = std::abs(side);
  switch (random.Range(0, 5)) {
    case 0:
      return random.Range(0, 3);  // at and under the rectangle rule
    case 1:
      return random.Range(side, side * 3 + 5);  // wider than the rectangle
    case 2:
      return -random.Range(0, side + 4);  // negative sizes count as positive
    default:
      return random.Range(0, side + 2);
  }
}

std::vector<TPoint> RandomPolygon(TCaseRandom& random) {
  std::vector<TPoint> points(static_cast<size_t>(random.Range(3, 12)));
  const int32_t spread = random.Chance(30) ? 20 : 120;
  const int32_t cx = random.Range(-20, 120);
  const int32_t cy = random.Range(-20, 100);
  for (TPoint& p : points) {
    p.X = cx + random.Range(-spread, spread);
    p.Y = cy + random.Range(-spread, spread);
    // Axis-parallel and repeated coordinates hit the edge rules hardest.
    if (random.Chance(15) && &p != &points[0]) p.Y = (&p - 1)->Y;
    if (random.Chance(10) && &p != &points[0]) p.X = (&p - 1)->X;
  }
  return points;
}

// A star drawn in one stroke: its edges cross each other, so the winding and
// alternate rules disagree about the middle.
std::vector<TPoint> Star(int32_t cx, int32_t cy, int32_t radius, int32_t tips, int32_t skip) {
  std::vector<TPoint> points;
  for (int32_t i = 0; i < tips; ++i) {
    const double angle = 6.283185307179586 * ((i * skip) % tips) / tips - 1.5707963267948966;
    points.push_back(TPoint{cx + static_cast<int32_t>(std::lround(radius * std::cos(angle))),
                            cy + static_cast<int32_t>(std::lround(radius * std::sin(angle)))});
  }
  return points;
}

HRGN GdiPolygon(const std::vector<TPoint>& points, TPolyFillMode mode) {
  std::vector<POINT> p;
  for (const TPoint& q : points) p.push_back(POINT{q.X, q.Y});
  return CreatePolygonRgn(p.data(), static_cast<int>(p.size()),
                          mode == TPolyFillMode::Winding ? WINDING : ALTERNATE);
}

TEST(RegionAgainstGdi, RectanglesIncludingReversedAndEmpty) {
  TComparer compare;
  TCaseRandom random(20240601);
  for (int i = 0; i < 5000; ++i) {
    const TRect r = RandomRect(random);
    TGdiRegion gdi(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom));
    compare.Compare(RectText("Rect", r), TRegion(r), gdi.Get());
  }
  compare.Report("rectangles");
  EXPECT_EQ(compare.Cases(), 5000);
}

TEST(RegionAgainstGdi, RoundRectsOfEverySmallSize) {
  // Every rectangle up to 14 x 14 with every ellipse up to 16 x 16 covers the
  // special rules: ellipses under 2, limited to the rectangle, odd and even.
  TComparer compare;
  for (int32_t w = 0; w <= 14; ++w)
    for (int32_t h = 0; h <= 14; ++h)
      for (int32_t ew = 0; ew <= 16; ++ew)
        for (int32_t eh = 0; eh <= 16; ++eh) {
          const TRect r{3, 5, 3 + w, 5 + h};
          if (!test::RoundRectIsDefinedByPlatform(r, ew, eh)) {
            compare.Skip();
            continue;
          }
          TGdiRegion gdi(CreateRoundRectRgn(r.Left, r.Top, r.Right, r.Bottom, ew, eh));
          compare.Compare(
              RectText("RoundRect", r) + " " + std::to_string(ew) + "x" + std::to_string(eh),
              TRegion::RoundRect(r, ew, eh), gdi.Get());
        }
  compare.Report("small rounded rectangles");
}

TEST(RegionAgainstGdi, RandomRoundRects) {
  TComparer compare;
  TCaseRandom random(77031);
  for (int i = 0; i < 20000; ++i) {
    const TRect r = RandomRect(random);
    const int32_t ew = RandomEllipse(random, r.Width());
    const int32_t eh = RandomEllipse(random, r.Height());
    if (!test::RoundRectIsDefinedByPlatform(r, ew, eh)) {
      compare.Skip();
      continue;
    }
    TGdiRegion gdi(CreateRoundRectRgn(r.Left, r.Top, r.Right, r.Bottom, ew, eh));
    compare.Compare(RectText("RoundRect", r) + " " + std::to_string(ew) + "x" + std::to_string(eh),
                    TRegion::RoundRect(r, ew, eh), gdi.Get());
  }
  compare.Report("random rounded rectangles");
}

TEST(RegionAgainstGdi, CurvedFrontsOfTheRoundedStyles) {
  // The curved fronts sweep over a frame: (-2W, -5, 2PX, H + 5) and
  // (W - 2PX, -5, 3W, H + 5), both with an ellipse of 2W x 2W.
  TComparer compare;
  const TPoint frames[] = {{100, 80}, {80, 100}, {640, 480}, {1920, 1080}, {33, 7}};
  for (const TPoint& f : frames)
    for (int32_t p = 0; p <= 100; p += 5) {
      const int32_t px = f.X * p / 100;
      const TRect fronts[] = {{-2 * f.X, -5, 2 * px, f.Y + 5},
                              {f.X - 2 * px, -5, 3 * f.X, f.Y + 5}};
      for (const TRect& r : fronts) {
        TGdiRegion gdi(CreateRoundRectRgn(r.Left, r.Top, r.Right, r.Bottom, 2 * f.X, 2 * f.X));
        compare.Compare(RectText("RoundRect", r), TRegion::RoundRect(r, 2 * f.X, 2 * f.X),
                        gdi.Get());
      }
    }
  compare.Report("curved fronts");
}

TEST(RegionAgainstGdi, RandomPolygonsBothFillModes) {
  TComparer compare;
  TCaseRandom random(4242);
  for (int i = 0; i < 20000; ++i) {
    const std::vector<TPoint> points = RandomPolygon(random);
    const TPolyFillMode mode = i % 4 == 3 ? TPolyFillMode::Alternate : TPolyFillMode::Winding;
    TGdiRegion gdi(GdiPolygon(points, mode));
    compare.Compare(PolygonText(points, mode), TRegion::Polygon(points, mode), gdi.Get());
  }
  compare.Report("random polygons");
}

TEST(RegionAgainstGdi, StarsTrianglesAndDegeneratePolygons) {
  TComparer compare;
  auto check = [&](const std::vector<TPoint>& points, TPolyFillMode mode) {
    TGdiRegion gdi(GdiPolygon(points, mode));
    compare.Compare(PolygonText(points, mode), TRegion::Polygon(points, mode), gdi.Get());
  };
  for (TPolyFillMode mode : {TPolyFillMode::Winding, TPolyFillMode::Alternate}) {
    for (int32_t radius : {3, 7, 20, 45})
      for (auto [tips, skip] : {std::pair{5, 2}, std::pair{7, 3}, std::pair{7, 2}, std::pair{8, 3}})
        check(Star(50, 40, radius, tips, skip), mode);
    // Points on one line, repeated points, two points, one point.
    check({{0, 0}, {10, 10}, {20, 20}}, mode);
    check({{5, 5}, {5, 5}, {5, 5}}, mode);
    check({{0, 0}, {30, 17}}, mode);
    check({{4, 9}}, mode);
    check({{0, 0}, {10, 0}, {20, 0}}, mode);
    // A square walked twice: winding 2 inside, parity even.
    check({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 10}, {0, 10}}, mode);
    // A bow tie and an axis-parallel rectangle in both directions.
    check({{0, 0}, {20, 20}, {20, 0}, {0, 20}}, mode);
    check({{2, 3}, {12, 3}, {12, 9}, {2, 9}}, mode);
    check({{2, 3}, {2, 9}, {12, 9}, {12, 3}, {2, 3}}, mode);
  }
  // The triangles of the diagonal, wedge and grid styles on a few frames,
  // closed by repeating the first point as the styles do.
  const TPoint frames[] = {{100, 80}, {80, 100}, {800, 600}, {37, 11}};
  for (const TPoint& f : frames)
    for (int32_t p = 0; p <= 100; p += 10) {
      const int32_t w = f.X, h = f.Y;
      const int32_t px = (w >= h) ? w * p / 100 : (h * p / 100) * w / h;
      const int32_t py = (w >= h) ? px * h / w : h * p / 100;
      const TPoint c{w / 2, h / 2};
      const std::vector<std::vector<TPoint>> triangles = {
          {{0, 0}, {2 * px, 0}, {0, 2 * py}},
          {{w, 0}, {w - 2 * px, 0}, {w, 2 * py}},
          {{0, h}, {2 * px, h}, {0, h - 2 * py}},
          {{w, h}, {w - 2 * px, h}, {w, h - 2 * py}},
          {{w, h}, {w, 0}, {w - px, 0}},
          {{0, h}, {0, 0}, {px, h}},
          {c, {0, h}, {0, h - py}},
          {{0, 0}, {px, 0}, c},
          {{w - px, h}, c, {w, h}},
          {c, {w, 0}, {w, py}},
          {{w / 10, h / 10}, {w / 10 + px / 5, h / 10}, {w / 10, h / 10 + py / 5}},
      };
      for (std::vector<TPoint> t : triangles) {
        t.push_back(t.front());
        check(t, TPolyFillMode::Winding);
      }
    }
  compare.Report("stars, triangles and degenerate polygons");
}

// A random shape of any kind, built both ways at once.
struct TShapePair {
  TRegion Ours;
  TGdiRegion Gdi;
  std::string Text;
};

TShapePair RandomShape(TCaseRandom& random) {
  switch (random.Range(0, 2)) {
    case 0: {
      const TRect r = RandomRect(random);
      return {TRegion(r), TGdiRegion(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom)),
              RectText("Rect", r)};
    }
    case 1: {
      const TRect r = RandomRect(random);
      int32_t ew, eh;
      do {
        ew = RandomEllipse(random, r.Width());
        eh = RandomEllipse(random, r.Height());
      } while (!test::RoundRectIsDefinedByPlatform(r, ew, eh));
      return {TRegion::RoundRect(r, ew, eh),
              TGdiRegion(CreateRoundRectRgn(r.Left, r.Top, r.Right, r.Bottom, ew, eh)),
              RectText("RoundRect", r) + " " + std::to_string(ew) + "x" + std::to_string(eh)};
    }
    default: {
      const std::vector<TPoint> points = RandomPolygon(random);
      return {TRegion::Polygon(points), TGdiRegion(GdiPolygon(points, TPolyFillMode::Winding)),
              PolygonText(points, TPolyFillMode::Winding)};
    }
  }
}

TEST(RegionAgainstGdi, CombinedAndOffsetRegions) {
  TComparer compare;
  TCaseRandom random(99);
  for (int i = 0; i < 5000; ++i) {
    TShapePair acc = RandomShape(random);
    std::string text = acc.Text;
    const int steps = random.Range(1, 4);
    for (int s = 0; s < steps; ++s) {
      TShapePair piece = RandomShape(random);
      static const struct {
        int Mode;
        const char* Name;
      } ops[] = {{RGN_OR, "OR"}, {RGN_AND, "AND"}, {RGN_XOR, "XOR"}, {RGN_DIFF, "DIFF"}};
      const auto& op = ops[random.Range(0, 3)];
      switch (op.Mode) {
        case RGN_OR:
          acc.Ours |= piece.Ours;
          break;
        case RGN_AND:
          acc.Ours &= piece.Ours;
          break;
        case RGN_XOR:
          acc.Ours ^= piece.Ours;
          break;
        default:
          acc.Ours -= piece.Ours;
          break;
      }
      CombineRgn(acc.Gdi.Get(), acc.Gdi.Get(), piece.Gdi.Get(), op.Mode);
      text += std::string(" ") + op.Name + " " + piece.Text;
      if (random.Chance(30)) {
        const int32_t dx = random.Range(-40, 40), dy = random.Range(-40, 40);
        acc.Ours.Offset(dx, dy);
        OffsetRgn(acc.Gdi.Get(), dx, dy);
        text += " OFFSET " + std::to_string(dx) + "," + std::to_string(dy);
      }
    }
    compare.Compare(text, acc.Ours, acc.Gdi.Get());
  }
  compare.Report("combined regions");
}

}  // namespace
}  // namespace pixvane
