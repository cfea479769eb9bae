// Styles 1 to 57: one to four rectangles of the picture per frame, each at
// its own place or moved, squeezed, stretched or turned over. Every piece
// but the last is drawn and listed here; the last is left in D and R for the
// renderer's completion, which draws it only while 0 < p < 100.
#include <utility>

#include "graphics/Copy.h"
#include "transition/styles/RectangleStyles.h"
#include "transition/styles/Styles.h"

namespace pixvane {

int FlapWidth(int length, int progress) {
  if (length / 5 > progress) return Half(progress);
  if (length / 5 > length - progress) return Half(length - progress);
  return length / 10;
}

TRect MirrorCopy(TBitmap& screen, const TBitmap& picture, const TRect& d, const TRect& r,
                 bool vertical) {
  const TRect source = r.Intersect(picture.Bounds());
  const TRect turned = vertical ? TRect{d.Left, d.Bottom + 1, d.Right, d.Top - 1}
                                : TRect{d.Right + 1, d.Top, d.Left - 1, d.Bottom};
  // A source cut away entirely must not come back reversed: the stretching
  // copy would read the reversed rectangle as a mirror of a real one.
  if (!source.IsEmpty()) StretchCopy(screen, turned, picture, source);
  return turned.Normalized();
}

namespace {

void Piece(TFrame& f, const TRect& d, const TRect& r) {
  f.Copy(d, r);
  f.Pieces.push_back(d);
}

void Last(TFrame& f, const TRect& d, const TRect& r) {
  f.D = d;
  f.R = r;
}

// Styles 1 to 17 and their vertical counterparts 18 to 34 are one table
// written along x: W and PX are the length and progress along the moving
// axis, H the frame across it, F the flap. Band(l, r) spans the whole frame
// across and is turned for the vertical styles.
struct TAxis {
  bool Vertical;
  int W, H, PX, F;

  TAxis(const TFrame& f, bool vertical)
      : Vertical(vertical),
        W(vertical ? f.H : f.W),
        H(vertical ? f.W : f.H),
        PX(vertical ? f.PY : f.PX),
        F(FlapWidth(W, PX)) {}
  TRect Band(int l, int r) const { return Vertical ? TRect{0, l, H, r} : TRect{l, 0, r, H}; }
  TRect Full() const { return Band(0, W); }
};

using TAxisStep = void (*)(TFrame& f, const TAxis& a);

void Mirror(TFrame& f, const TAxis& a, const TRect& d, const TRect& r) {
  // The strip reaches one pixel beyond d on each side; that is what changed.
  f.Pieces.push_back(MirrorCopy(f.Screen, f.Picture, d, r, a.Vertical));
}

constexpr TAxisStep AxisSteps[17] = {
    // 1: the whole picture squeezed into a strip growing from the far edge
    [](TFrame& f, const TAxis& a) { Last(f, a.Band(a.W - a.PX, a.W), a.Full()); },
    // 2: the same from the near edge
    [](TFrame& f, const TAxis& a) { Last(f, a.Band(0, a.PX), a.Full()); },
    // 3: slides in from the far edge at full size
    [](TFrame& f, const TAxis& a) { Last(f, a.Band(a.W - a.PX, 2 * a.W - a.PX), a.Full()); },
    // 4: slides in from the near edge
    [](TFrame& f, const TAxis& a) { Last(f, a.Band(a.PX - a.W, a.PX), a.Full()); },
    // 5: wipe from the near edge
    [](TFrame& f, const TAxis& a) { Last(f, a.Band(0, a.PX), a.Band(0, a.PX)); },
    // 6: wipe from the far edge
    [](TFrame& f, const TAxis& a) { Last(f, a.Band(a.W - a.PX, a.W), a.Band(a.W - a.PX, a.W)); },
    // 7: the near PX stretched beyond the far edge, settling
    [](TFrame& f, const TAxis& a) { Last(f, a.Band(0, 2 * a.W - a.PX), a.Band(0, a.PX)); },
    // 8: the far PX stretched beyond the near edge, settling
    [](TFrame& f, const TAxis& a) { Last(f, a.Band(a.PX - a.W, a.W), a.Band(a.W - a.PX, a.W)); },
    // 9: the middle PX stretched around the centre line, settling
    [](TFrame& f, const TAxis& a) {
      Last(f, a.Band(a.PX - a.W, 2 * a.W - a.PX), a.Band(Half(a.W - a.PX), Half(a.W + a.PX)));
    },
    // 10: the whole picture squeezed into a strip widening from the centre line
    [](TFrame& f, const TAxis& a) {
      Last(f, a.Band(Half(a.W - a.PX), Half(a.W + a.PX)), a.Full());
    },
    // 11: wipe from the centre line outward
    [](TFrame& f, const TAxis& a) {
      const TRect middle = a.Band(Half(a.W - a.PX), Half(a.W + a.PX));
      Last(f, middle, middle);
    },
    // 12: wipe from both edges toward the middle
    [](TFrame& f, const TAxis& a) {
      const int h = Half(a.PX);
      Piece(f, a.Band(0, h + 1), a.Band(0, h + 1));
      Last(f, a.Band(a.W - h - 1, a.W), a.Band(a.W - h - 1, a.W));
    },
    // 13: each half squeezed into a strip growing from its own edge
    [](TFrame& f, const TAxis& a) {
      const int h = Half(a.PX);
      Piece(f, a.Band(0, h + 1), a.Band(0, Half(a.W) + 1));
      Last(f, a.Band(a.W - h - 1, a.W), a.Band(Half(a.W), a.W));
    },
    // 14: wipe from the near edge with a turned-over flap ahead of it
    [](TFrame& f, const TAxis& a) {
      Mirror(f, a, a.Band(a.PX, a.PX + a.F), a.Band(a.PX + a.F, a.PX + 2 * a.F));
      Last(f, a.Band(0, a.PX), a.Band(0, a.PX));
    },
    // 15: wipe from the far edge with a turned-over flap ahead of it
    [](TFrame& f, const TAxis& a) {
      const int edge = a.W - a.PX;
      Mirror(f, a, a.Band(edge - a.F, edge), a.Band(edge - 2 * a.F, edge - a.F));
      Last(f, a.Band(edge, a.W), a.Band(edge, a.W));
    },
    // 16: wipe from the near edge, the next W div 20 smeared over the rest
    [](TFrame& f, const TAxis& a) {
      Piece(f, a.Band(0, a.PX), a.Band(0, a.PX));
      Last(f, a.Band(a.PX, a.W), a.Band(a.PX, a.PX + a.W / 20));
    },
    // 17: wipe from the far edge with the smear on the near side
    [](TFrame& f, const TAxis& a) {
      const int edge = a.W - a.PX;
      Piece(f, a.Band(edge, a.W), a.Band(edge, a.W));
      Last(f, a.Band(0, edge), a.Band(edge - a.W / 20, edge));
    },
};

template <size_t I, bool Vertical>
void AxisStep(TFrame& f) {
  AxisSteps[I](f, TAxis(f, Vertical));
}

template <size_t... I>
void AddAxisStyles(TStepTable& table, std::index_sequence<I...>) {
  ((table[1 + I] = &AxisStep<I, false>, table[18 + I] = &AxisStep<I, true>), ...);
}

// The box from the centre that styles 51 to 53 share.
TRect CentreBox(const TFrame& f) {
  return {Half(f.W - f.PX), Half(f.H - f.PY), Half(f.W + f.PX), Half(f.H + f.PY)};
}

TRect Full(const TFrame& f) {
  return {0, 0, f.W, f.H};
}

// A wipe: the piece shown at its own place.
void Wipe(TFrame& f, const TRect& d) {
  Last(f, d, d);
}

}  // namespace

void AddRectangleStyles(TStepTable& t) {
  AddAxisStyles(t, std::make_index_sequence<17>());

  // 35 to 38: the whole picture squeezed, growing from a corner.
  t[35] = [](TFrame& f) { Last(f, {f.W - f.PX, f.H - f.PY, f.W, f.H}, Full(f)); };
  t[36] = [](TFrame& f) { Last(f, {f.W - f.PX, 0, f.W, f.PY}, Full(f)); };
  t[37] = [](TFrame& f) { Last(f, {0, 0, f.PX, f.PY}, Full(f)); };
  t[38] = [](TFrame& f) { Last(f, {0, f.H - f.PY, f.PX, f.H}, Full(f)); };
  // 39 to 42: slides in from a corner.
  t[39] = [](TFrame& f) {
    Last(f, {f.W - f.PX, f.H - f.PY, 2 * f.W - f.PX, 2 * f.H - f.PY}, Full(f));
  };
  t[40] = [](TFrame& f) { Last(f, {f.W - f.PX, f.PY - f.H, 2 * f.W - f.PX, f.PY}, Full(f)); };
  t[41] = [](TFrame& f) { Last(f, {f.PX - f.W, f.PY - f.H, f.PX, f.PY}, Full(f)); };
  t[42] = [](TFrame& f) { Last(f, {f.PX - f.W, f.H - f.PY, f.PX, 2 * f.H - f.PY}, Full(f)); };
  // 43 to 46: wipe from a corner.
  t[43] = [](TFrame& f) { Wipe(f, {0, 0, f.PX, f.PY}); };
  t[44] = [](TFrame& f) { Wipe(f, {0, f.H - f.PY, f.PX, f.H}); };
  t[45] = [](TFrame& f) { Wipe(f, {f.W - f.PX, f.H - f.PY, f.W, f.H}); };
  t[46] = [](TFrame& f) { Wipe(f, {f.W - f.PX, 0, f.W, f.PY}); };
  // 47 to 50: a corner's PX x PY stretched to twice the frame minus itself, settling.
  t[47] = [](TFrame& f) { Last(f, {0, 0, 2 * f.W - f.PX, 2 * f.H - f.PY}, {0, 0, f.PX, f.PY}); };
  t[48] = [](TFrame& f) {
    Last(f, {0, f.PY - f.H, 2 * f.W - f.PX, f.H}, {0, f.H - f.PY, f.PX, f.H});
  };
  t[49] = [](TFrame& f) {
    Last(f, {f.PX - f.W, f.PY - f.H, f.W, f.H}, {f.W - f.PX, f.H - f.PY, f.W, f.H});
  };
  t[50] = [](TFrame& f) {
    Last(f, {f.PX - f.W, 0, f.W, 2 * f.H - f.PY}, {f.W - f.PX, 0, f.W, f.PY});
  };
  // 51 to 53: centred.
  t[51] = [](TFrame& f) {
    Last(f, {f.PX - f.W, f.PY - f.H, 2 * f.W - f.PX, 2 * f.H - f.PY}, CentreBox(f));
  };
  t[52] = [](TFrame& f) { Last(f, CentreBox(f), Full(f)); };
  t[53] = [](TFrame& f) { Wipe(f, CentreBox(f)); };

  // 54 to 57: four pieces each; the +1 and -1 that only some sides carry
  // are part of each style's look at the seams.
  t[54] = [](TFrame& f) {
    const int hx = Half(f.PX), hy = Half(f.PY);
    const TRect top{0, 0, f.W, hy}, bottom{0, f.H - hy, f.W, f.H}, left{0, 0, hx, f.H};
    Piece(f, top, top);
    Piece(f, bottom, bottom);
    Piece(f, left, left);
    Wipe(f, {f.W - hx, 0, f.W, f.H});
  };
  t[55] = [](TFrame& f) {
    const int hx = Half(f.PX), hy = Half(f.PY);
    const TRect topLeft{0, 0, hx + 1, hy + 1}, bottomLeft{0, f.H - hy - 1, hx + 1, f.H},
        bottomRight{f.W - hx - 1, f.H - hy - 1, f.W, f.H};
    Piece(f, topLeft, topLeft);
    Piece(f, bottomLeft, bottomLeft);
    Piece(f, bottomRight, bottomRight);
    Wipe(f, {f.W - hx - 1, 0, f.W, hy + 1});
  };
  t[56] = [](TFrame& f) {
    const int hx = Half(f.PX), hy = Half(f.PY), hw = Half(f.W), hh = Half(f.H);
    Piece(f, {0, 0, hx + 1, hy + 1}, {0, 0, hw + 1, hh + 1});
    Piece(f, {0, f.H - hy, hx + 1, f.H}, {0, hh + 1, hw + 1, f.H});
    Piece(f, {f.W - hx, f.H - hy, f.W, f.H}, {hw + 1, hh + 1, f.W, f.H});
    Last(f, {f.W - hx, 0, f.W, hy + 1}, {hw + 1, 0, f.W, hh + 1});
  };
  t[57] = [](TFrame& f) {
    const int hx = Half(f.PX), hy = Half(f.PY), hw = Half(f.W), hh = Half(f.H);
    Piece(f, {Half(f.PX - f.W), 0, hx + 1, hh + 1}, {0, 0, hw + 1, hh + 1});
    Piece(f, {hw - 1, Half(f.PY - f.H), f.W, hy + 1}, {hw - 1, 0, f.W, hh + 1});
    Piece(f, {f.W - hx, hh - 1, Half(f.W - f.PX) + f.W, f.H}, {hw + 1, hh - 1, f.W, f.H});
    Last(f, {0, f.H - hy, hw + 1, Half(f.H - f.PY) + f.H}, {0, hh + 1, hw + 1, f.H});
  };
}

}  // namespace pixvane
