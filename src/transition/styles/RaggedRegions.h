#pragma once
#include <cstdint>
#include <optional>

#include "base/Random.h"
#include "graphics/Region.h"

namespace pixvane {

// The random regions. Each draws from the generator it is given in a fixed
// order (rows before columns, top to bottom or left to right, edges in the
// order their mode lists them), so a frame depends only on its state.

// How the ragged bands of one direction grow. For rows the far edge is the
// right one and the near edge the left; for columns the bottom and the top.
enum class TRaggedMode : uint8_t {
  None,      // no bands this way
  FromFar,   // from the far edge
  FromNear,  // from the near edge
  Outward,   // outward from the centre line
  Inward,    // inward from both edges
};

// Rows 5 + H mod 5 high starting every 5 pixels (columns likewise) whose
// growing edges are jagged by rand(a) - rand(a), a = a seventh of the frame
// until the reach is full. Nothing (no region at all) when both modes are
// None.
std::optional<TRegion> RaggedBandRegion(TRandom& random, int W, int H, int hr, int vr,
                                        TRaggedMode horzMode, TRaggedMode vertMode);

// Which edge a grainy front starts from, as for the ragged bands.
enum class TGrainMode : uint8_t { None, FromFar, FromNear };

// A solid band from one edge up to the reach, and ahead of it square cells
// chosen at random, more often near the front. Nothing (no region at all)
// when both modes are None.
std::optional<TRegion> GrainEdgeRegion(TRandom& random, int W, int H, int hr, int vr,
                                       TGrainMode horzMode, TGrainMode vertMode);

// Squares twice the pitch wide on a grid of that pitch, each chosen with
// probability p percent. Empty (not none) when none is chosen, so that the
// frame shows nothing of the picture.
TRegion DissolveRegion(TRandom& random, int W, int H, int p);

}  // namespace pixvane
