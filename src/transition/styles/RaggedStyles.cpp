// The random styles: jagged bands, a grainy front and the dissolve. Each
// frame draws a fresh pattern from the frame's generator.
#include "transition/styles/RaggedRegions.h"
#include "transition/styles/Styles.h"

namespace pixvane {

namespace {

using enum TRaggedMode;

void Ragged(TFrame& f, TRaggedMode horzMode, TRaggedMode vertMode) {
  f.G = RaggedBandRegion(f.Random, f.W, f.H, f.PX, f.PY, horzMode, vertMode);
}

void Grain(TFrame& f, TGrainMode horzMode, TGrainMode vertMode) {
  f.G = GrainEdgeRegion(f.Random, f.W, f.H, f.PX, f.PY, horzMode, vertMode);
}

}  // namespace

void AddRaggedStyles(TStepTable& t) {
  // Rows only (the vertical reach is 0 and unused).
  t[65] = [](TFrame& f) { f.G = RaggedBandRegion(f.Random, f.W, f.H, f.PX, 0, FromFar, None); };
  t[66] = [](TFrame& f) { f.G = RaggedBandRegion(f.Random, f.W, f.H, f.PX, 0, FromNear, None); };
  t[67] = [](TFrame& f) { f.G = RaggedBandRegion(f.Random, f.W, f.H, f.PX, 0, Outward, None); };
  t[68] = [](TFrame& f) { f.G = RaggedBandRegion(f.Random, f.W, f.H, f.PX, 0, Inward, None); };
  // Columns only.
  t[76] = [](TFrame& f) { f.G = RaggedBandRegion(f.Random, f.W, f.H, 0, f.PY, None, FromFar); };
  t[77] = [](TFrame& f) { f.G = RaggedBandRegion(f.Random, f.W, f.H, 0, f.PY, None, FromNear); };
  t[78] = [](TFrame& f) { f.G = RaggedBandRegion(f.Random, f.W, f.H, 0, f.PY, None, Outward); };
  t[79] = [](TFrame& f) { f.G = RaggedBandRegion(f.Random, f.W, f.H, 0, f.PY, None, Inward); };
  // Rows and columns together.
  t[100] = [](TFrame& f) { Ragged(f, FromFar, FromFar); };
  t[101] = [](TFrame& f) { Ragged(f, FromFar, FromNear); };
  t[102] = [](TFrame& f) { Ragged(f, FromNear, FromFar); };
  t[103] = [](TFrame& f) { Ragged(f, FromNear, FromNear); };
  t[104] = [](TFrame& f) { Ragged(f, FromFar, Outward); };
  t[105] = [](TFrame& f) { Ragged(f, FromNear, Outward); };
  t[106] = [](TFrame& f) { Ragged(f, Outward, FromFar); };
  t[107] = [](TFrame& f) { Ragged(f, Outward, FromNear); };
  t[108] = [](TFrame& f) { Ragged(f, Outward, Outward); };
  t[109] = [](TFrame& f) { Ragged(f, Inward, Inward); };
  // A grainy front from one edge.
  t[123] = [](TFrame& f) { Grain(f, TGrainMode::FromFar, TGrainMode::None); };
  t[124] = [](TFrame& f) { Grain(f, TGrainMode::FromNear, TGrainMode::None); };
  t[125] = [](TFrame& f) { Grain(f, TGrainMode::None, TGrainMode::FromFar); };
  t[126] = [](TFrame& f) { Grain(f, TGrainMode::None, TGrainMode::FromNear); };
  t[127] = [](TFrame& f) { f.G = DissolveRegion(f.Random, f.W, f.H, f.p); };
}

}  // namespace pixvane
