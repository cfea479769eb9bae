#pragma once
#include <cstdint>
#include <optional>

#include "graphics/Region.h"

namespace pixvane {

// How the bands of one direction grow. The bands fall into two sets, every
// other one; a reach beyond the frame's length means the first set is
// complete and the second grows. For rows the far edge is the right one and
// the near edge the left; for columns the bottom and the top.
enum class TBandMode : uint8_t {
  None,         // no bands this way
  FromFar,      // both sets from the far edge
  FromNear,     // both sets from the near edge
  Opposite,     // the first set from the far edge and the second from the
                // near one at the same time; nothing more beyond the length
  NearThenFar,  // the first set from the near edge, then the second from the far one
  FarThenNear,  // the first set from the far edge, then the second from the near one
};

// Bands of 5 pixels on a period of 10 over a W x H frame: rows grown by
// horzMode and reaching hr, columns grown by vertMode and reaching vr.
// Within the length only the first set grows, and jumps to full length
// when it is less than snap short of it. Nothing (no region at all) when
// both modes are None.
std::optional<TRegion> BandRegion(int W, int H, int hr, int vr, TBandMode horzMode,
                                  TBandMode vertMode, int snap);

}  // namespace pixvane
