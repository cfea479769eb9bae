// The random styles: jagged bands, a grainy front and the dissolve. Each
// frame draws a fresh pattern from the shared generator.
#include "transition/styles/RaggedRegions.h"
#include "transition/styles/Styles.h"

namespace pixvane {

namespace {

void Ragged(TFrame& f, int horzMode, int vertMode) {
  f.G = RaggedBandRegion(f.W, f.H, f.PX, f.PY, horzMode, vertMode);
}

void Grain(TFrame& f, int horzMode, int vertMode) {
  f.G = GrainEdgeRegion(f.W, f.H, f.PX, f.PY, horzMode, vertMode);
}

}  // namespace

void AddRaggedStyles(TStepTable& t) {
  // Rows only (the vertical reach is 0 and unused).
  t[65] = [](TFrame& f) { f.G = RaggedBandRegion(f.W, f.H, f.PX, 0, 1, 0); };
  t[66] = [](TFrame& f) { f.G = RaggedBandRegion(f.W, f.H, f.PX, 0, 2, 0); };
  t[67] = [](TFrame& f) { f.G = RaggedBandRegion(f.W, f.H, f.PX, 0, 3, 0); };
  t[68] = [](TFrame& f) { f.G = RaggedBandRegion(f.W, f.H, f.PX, 0, 4, 0); };
  // Columns only.
  t[76] = [](TFrame& f) { f.G = RaggedBandRegion(f.W, f.H, 0, f.PY, 0, 1); };
  t[77] = [](TFrame& f) { f.G = RaggedBandRegion(f.W, f.H, 0, f.PY, 0, 2); };
  t[78] = [](TFrame& f) { f.G = RaggedBandRegion(f.W, f.H, 0, f.PY, 0, 3); };
  t[79] = [](TFrame& f) { f.G = RaggedBandRegion(f.W, f.H, 0, f.PY, 0, 4); };
  // Rows and columns together.
  t[100] = [](TFrame& f) { Ragged(f, 1, 1); };
  t[101] = [](TFrame& f) { Ragged(f, 1, 2); };
  t[102] = [](TFrame& f) { Ragged(f, 2, 1); };
  t[103] = [](TFrame& f) { Ragged(f, 2, 2); };
  t[104] = [](TFrame& f) { Ragged(f, 1, 3); };
  t[105] = [](TFrame& f) { Ragged(f, 2, 3); };
  t[106] = [](TFrame& f) { Ragged(f, 3, 1); };
  t[107] = [](TFrame& f) { Ragged(f, 3, 2); };
  t[108] = [](TFrame& f) { Ragged(f, 3, 3); };
  t[109] = [](TFrame& f) { Ragged(f, 4, 4); };
  // A grainy front from one edge.
  t[123] = [](TFrame& f) { Grain(f, 1, 0); };
  t[124] = [](TFrame& f) { Grain(f, 2, 0); };
  t[125] = [](TFrame& f) { Grain(f, 0, 1); };
  t[126] = [](TFrame& f) { Grain(f, 0, 2); };
  t[127] = [](TFrame& f) { f.G = DissolveRegion(f.W, f.H, f.p); };
}

}  // namespace pixvane
