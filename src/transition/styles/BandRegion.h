#pragma once
#include <optional>

#include "transition/Region.h"

namespace pixvane {

// Bands of 5 pixels on a period of 10 over a W x H frame: rows governed by
// horzMode and reaching hr, columns governed by vertMode and reaching vr.
// A reach beyond the frame fills the first band set completely and grows the
// second; within it only the first set grows, and jumps to full length when
// it is less than snap short of it. Modes: 1 both sets from the right
// (bottom), 2 both from the left (top), 4 first from the left then from the
// right, 5 the other way round, 3 the two sets from opposite sides at once
// (first half only), 0 none. Nothing (no region at all) when both are 0.
std::optional<TRegion> BandRegion(int W, int H, int hr, int vr, int horzMode, int vertMode,
                                  int snap);

}  // namespace pixvane
