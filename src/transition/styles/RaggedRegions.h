#pragma once
#include <optional>

#include "transition/Region.h"

namespace pixvane {

// The random regions. Each draws from the shared generator in a fixed order
// (rows before columns, top to bottom or left to right, edges in the order
// their mode lists them), so a frame depends only on the generator's state.

// Rows 5 + H mod 5 high starting every 5 pixels (columns likewise) whose
// growing edges are jagged by rand(a) - rand(a), a = a seventh of the frame
// until the reach is full. Modes: 1 from the right (bottom), 2 from the left
// (top), 3 outward from the centre line, 4 inward from both edges, 0 none.
// Nothing (no region at all) when both modes are 0.
std::optional<TRegion> RaggedBandRegion(int W, int H, int hr, int vr, int horzMode, int vertMode);

// A solid band from one edge up to the reach, and ahead of it square cells
// chosen at random, more often near the front. Modes: 1 from the right
// (bottom), any other non-zero mode from the left (top), 0 none.
std::optional<TRegion> GrainEdgeRegion(int W, int H, int hr, int vr, int horzMode, int vertMode);

// Squares twice the pitch wide on a grid of that pitch, each chosen with
// probability p percent. Empty (not none) when none is chosen, so that the
// frame shows nothing of the picture.
TRegion DissolveRegion(int W, int H, int p);

}  // namespace pixvane
