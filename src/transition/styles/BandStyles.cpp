// The straight band styles: rows, columns or both, 5 pixels on a period of
// 10, from BandRegion. A doubled reach (2PX, 2PY) fills one band set in each
// half of the transition; an undoubled one grows both sets at once.
#include "transition/styles/BandRegion.h"
#include "transition/styles/Styles.h"

namespace pixvane {

namespace {

// Rows (horzMode) and columns (vertMode) with the doubled reach and the snap.
void Doubled(TFrame& f, int horzMode, int vertMode) {
  f.G = BandRegion(f.W, f.H, 2 * f.PX, 2 * f.PY, horzMode, vertMode, f.S);
}

// The same with the reach of the progress itself.
void Single(TFrame& f, int horzMode, int vertMode, int snap) {
  f.G = BandRegion(f.W, f.H, f.PX, f.PY, horzMode, vertMode, snap);
}

}  // namespace

void AddBandStyles(TStepTable& t) {
  // Rows only; the vertical reach is not used.
  t[60] = [](TFrame& f) { f.G = BandRegion(f.W, f.H, 2 * f.PX, 0, 1, 0, f.S); };
  t[61] = [](TFrame& f) { f.G = BandRegion(f.W, f.H, 2 * f.PX, 0, 2, 0, f.S); };
  t[62] = [](TFrame& f) { f.G = BandRegion(f.W, f.H, 2 * f.PX, 0, 4, 0, f.S); };
  t[63] = [](TFrame& f) { f.G = BandRegion(f.W, f.H, 2 * f.PX, 0, 5, 0, f.S); };
  t[64] = [](TFrame& f) { f.G = BandRegion(f.W, f.H, f.PX, 0, 3, 0, 0); };
  // Columns only.
  t[71] = [](TFrame& f) { f.G = BandRegion(f.W, f.H, 0, 2 * f.PY, 0, 1, f.S); };
  t[72] = [](TFrame& f) { f.G = BandRegion(f.W, f.H, 0, 2 * f.PY, 0, 2, f.S); };
  t[73] = [](TFrame& f) { f.G = BandRegion(f.W, f.H, 0, 2 * f.PY, 0, 4, f.S); };
  t[74] = [](TFrame& f) { f.G = BandRegion(f.W, f.H, 0, 2 * f.PY, 0, 5, f.S); };
  t[75] = [](TFrame& f) { f.G = BandRegion(f.W, f.H, 0, f.PY, 0, 3, 0); };
  // Rows and columns together.
  t[86] = [](TFrame& f) { Doubled(f, 1, 1); };
  t[87] = [](TFrame& f) { Doubled(f, 1, 2); };
  t[88] = [](TFrame& f) { Doubled(f, 2, 1); };
  t[89] = [](TFrame& f) { Doubled(f, 2, 2); };
  t[90] = [](TFrame& f) { Doubled(f, 4, 4); };
  t[91] = [](TFrame& f) { Doubled(f, 4, 5); };
  t[92] = [](TFrame& f) { Doubled(f, 5, 4); };
  t[93] = [](TFrame& f) { Doubled(f, 5, 5); };
  t[94] = [](TFrame& f) { Single(f, 1, 3, f.S); };
  t[95] = [](TFrame& f) { Single(f, 2, 3, f.S); };
  t[96] = [](TFrame& f) { Single(f, 3, 1, f.S); };
  t[97] = [](TFrame& f) { Single(f, 3, 2, f.S); };
  t[98] = [](TFrame& f) { Single(f, 3, 3, 0); };
  // Only where the two patterns overlap.
  t[99] = [](TFrame& f) {
    Doubled(f, 2, 2);
    *f.G &= *BandRegion(f.W, f.H, 2 * f.PX, 2 * f.PY, 1, 1, f.S);
  };
}

}  // namespace pixvane
