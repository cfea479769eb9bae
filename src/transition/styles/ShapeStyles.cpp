// Styles whose front is a curve or a straight diagonal: rounded rectangles
// (58, 59, 69, 70, 80 to 85) and triangles (110 to 117).
#include "base/MulDiv.h"
#include "transition/styles/ShapeRegions.h"
#include "transition/styles/Styles.h"

namespace pixvane {

namespace {

void Round(TFrame& f, const TRect& rect, int ellipseWidth, int ellipseHeight) {
  f.G = TRegion::RoundRect(rect, ellipseWidth, ellipseHeight);
}

void Triangle(TFrame& f, TPoint p1, TPoint p2, TPoint p3) {
  f.G = TriangleRegion(p1, p2, p3);
}

void AddTriangle(TFrame& f, TPoint p1, TPoint p2, TPoint p3) {
  *f.G |= TriangleRegion(p1, p2, p3);
}

}  // namespace

void AddShapeStyles(TStepTable& t) {
  // A curved front across the whole frame: from the left, the right, the
  // top, the bottom. The rectangle reaches 5 pixels beyond the frame across
  // the front so its own corners stay out of sight.
  t[58] = [](TFrame& f) { Round(f, {-2 * f.W, -5, 2 * f.PX, f.H + 5}, 2 * f.W, 2 * f.W); };
  t[59] = [](TFrame& f) { Round(f, {f.W - 2 * f.PX, -5, 3 * f.W, f.H + 5}, 2 * f.W, 2 * f.W); };
  t[69] = [](TFrame& f) { Round(f, {-5, -2 * f.H, f.W + 5, 2 * f.PY}, 2 * f.H, 2 * f.H); };
  t[70] = [](TFrame& f) { Round(f, {-5, f.H - 2 * f.PY, f.W + 5, 3 * f.H}, 2 * f.H, 2 * f.H); };
  // A quarter-ellipse front from a corner; 83 takes its ellipse 2H wide.
  t[80] = [](TFrame& f) { Round(f, {-2 * f.W, -2 * f.H, 2 * f.PX, 2 * f.PY}, 2 * f.W, 2 * f.H); };
  t[81] = [](TFrame& f) {
    Round(f, {f.W - 2 * f.PX, -2 * f.H, 3 * f.W, 2 * f.PY}, 2 * f.W, 2 * f.H);
  };
  t[82] = [](TFrame& f) {
    Round(f, {-2 * f.W, f.H - 2 * f.PY, 2 * f.PX, 3 * f.H}, 2 * f.W, 2 * f.H);
  };
  t[83] = [](TFrame& f) {
    Round(f, {f.W - 2 * f.PX, f.H - 2 * f.PY, 3 * f.W, 3 * f.H}, 2 * f.H, 2 * f.H);
  };
  // A near-ellipse opening from the centre, and one closing to it with the
  // picture outside.
  t[84] = [](TFrame& f) {
    Round(f, {Half(f.W) - f.PX, Half(f.H) - f.PY, Half(f.W) + f.PX, Half(f.H) + f.PY},
          (9 * f.PX) / 5, (9 * f.PY) / 5);
  };
  t[85] = [](TFrame& f) {
    f.G = TRegion(0, 0, f.W, f.H);
    *f.G ^= TRegion::RoundRect(
        {f.PX - Half(f.W), f.PY - Half(f.H), Half(3 * f.W) - f.PX, Half(3 * f.H) - f.PY},
        (9 * (f.W - f.PX)) / 5, (9 * (f.H - f.PY)) / 5);
  };

  // A diagonal front from a corner.
  t[110] = [](TFrame& f) { Triangle(f, {0, 0}, {2 * f.PX, 0}, {0, 2 * f.PY}); };
  t[111] = [](TFrame& f) { Triangle(f, {f.W, 0}, {f.W - 2 * f.PX, 0}, {f.W, 2 * f.PY}); };
  t[112] = [](TFrame& f) { Triangle(f, {0, f.H}, {2 * f.PX, f.H}, {0, f.H - 2 * f.PY}); };
  t[113] = [](TFrame& f) { Triangle(f, {f.W, f.H}, {f.W - 2 * f.PX, f.H}, {f.W, f.H - 2 * f.PY}); };
  // Two wedges hinged on opposite edges.
  t[114] = [](TFrame& f) {
    Triangle(f, {f.W, f.H}, {f.W, 0}, {f.W - f.PX, 0});
    AddTriangle(f, {0, f.H}, {0, 0}, {f.PX, f.H});
  };
  t[115] = [](TFrame& f) {
    Triangle(f, {f.W, f.H}, {0, f.H}, {0, f.H - f.PY});
    AddTriangle(f, {f.W, 0}, {0, 0}, {f.W, f.PY});
  };
  // Four wedges from the centre, turning clockwise.
  t[116] = [](TFrame& f) {
    const TPoint c{Half(f.W), Half(f.H)};
    Triangle(f, c, {0, f.H}, {0, f.H - f.PY});
    AddTriangle(f, {0, 0}, {f.PX, 0}, c);
    AddTriangle(f, {f.W - f.PX, f.H}, c, {f.W, f.H});
    AddTriangle(f, c, {f.W, 0}, {f.W, f.PY});
  };
  // Every cell of a 10 x 10 grid fills from its top-left corner.
  t[117] = [](TFrame& f) {
    const int a = f.PX / 5;
    f.G = TriangleGridRegion(f.W, f.H, a, MulDiv(a, f.H, f.W));
  };
}

}  // namespace pixvane
