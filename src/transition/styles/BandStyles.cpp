// The straight band styles: rows, columns or both, 5 pixels on a period of
// 10, from BandRegion. A doubled reach (2PX, 2PY) fills one band set in each
// half of the transition; an undoubled one grows both sets at once.
#include "transition/styles/BandRegion.h"
#include "transition/styles/Styles.h"

namespace pixvane {

namespace {

using enum TBandMode;

// Rows (horzMode) and columns (vertMode) with the doubled reach and the snap.
void Doubled(TFrame& f, TBandMode horzMode, TBandMode vertMode) {
  f.G = BandRegion(f.W, f.H, 2 * f.PX, 2 * f.PY, horzMode, vertMode, f.S);
}

// The same with the reach of the progress itself.
void Single(TFrame& f, TBandMode horzMode, TBandMode vertMode, int snap) {
  f.G = BandRegion(f.W, f.H, f.PX, f.PY, horzMode, vertMode, snap);
}

}  // namespace

void AddBandStyles(TStepTable& t) {
  // Rows only; the vertical reach is not used.
  t[60] = [](TFrame& f) { f.G = BandRegion(f.W, f.H, 2 * f.PX, 0, FromFar, None, f.S); };
  t[61] = [](TFrame& f) { f.G = BandRegion(f.W, f.H, 2 * f.PX, 0, FromNear, None, f.S); };
  t[62] = [](TFrame& f) { f.G = BandRegion(f.W, f.H, 2 * f.PX, 0, NearThenFar, None, f.S); };
  t[63] = [](TFrame& f) { f.G = BandRegion(f.W, f.H, 2 * f.PX, 0, FarThenNear, None, f.S); };
  t[64] = [](TFrame& f) { f.G = BandRegion(f.W, f.H, f.PX, 0, Opposite, None, 0); };
  // Columns only.
  t[71] = [](TFrame& f) { f.G = BandRegion(f.W, f.H, 0, 2 * f.PY, None, FromFar, f.S); };
  t[72] = [](TFrame& f) { f.G = BandRegion(f.W, f.H, 0, 2 * f.PY, None, FromNear, f.S); };
  t[73] = [](TFrame& f) { f.G = BandRegion(f.W, f.H, 0, 2 * f.PY, None, NearThenFar, f.S); };
  t[74] = [](TFrame& f) { f.G = BandRegion(f.W, f.H, 0, 2 * f.PY, None, FarThenNear, f.S); };
  t[75] = [](TFrame& f) { f.G = BandRegion(f.W, f.H, 0, f.PY, None, Opposite, 0); };
  // Rows and columns together.
  t[86] = [](TFrame& f) { Doubled(f, FromFar, FromFar); };
  t[87] = [](TFrame& f) { Doubled(f, FromFar, FromNear); };
  t[88] = [](TFrame& f) { Doubled(f, FromNear, FromFar); };
  t[89] = [](TFrame& f) { Doubled(f, FromNear, FromNear); };
  t[90] = [](TFrame& f) { Doubled(f, NearThenFar, NearThenFar); };
  t[91] = [](TFrame& f) { Doubled(f, NearThenFar, FarThenNear); };
  t[92] = [](TFrame& f) { Doubled(f, FarThenNear, NearThenFar); };
  t[93] = [](TFrame& f) { Doubled(f, FarThenNear, FarThenNear); };
  t[94] = [](TFrame& f) { Single(f, FromFar, Opposite, f.S); };
  t[95] = [](TFrame& f) { Single(f, FromNear, Opposite, f.S); };
  t[96] = [](TFrame& f) { Single(f, Opposite, FromFar, f.S); };
  t[97] = [](TFrame& f) { Single(f, Opposite, FromNear, f.S); };
  t[98] = [](TFrame& f) { Single(f, Opposite, Opposite, 0); };
  // Only where the two patterns overlap.
  t[99] = [](TFrame& f) {
    Doubled(f, FromNear, FromNear);
    *f.G &= *BandRegion(f.W, f.H, 2 * f.PX, 2 * f.PY, FromFar, FromFar, f.S);
  };
}

}  // namespace pixvane
