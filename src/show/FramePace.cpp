#include "show/FramePace.h"

namespace pixvane {

bool TFramePace::Drawn(uint32_t costUs) {
  FTotalUs += costUs;
  if (++FFrames < FramesPerDecision) return false;
  const uint64_t average = FTotalUs / FFrames;
  FFrames = 0;
  FTotalUs = 0;
  // Three quarters of the period at most for the frame, the rest for
  // everything else the thread does; a faster rate only with room to spare.
  if (average * 4 > uint64_t{PeriodUs()} * 3 && FDivisor < 4) {
    ++FDivisor;
    return true;
  }
  if (FDivisor > 1 && average * 2 < uint64_t{FullRatePeriodUs} * (FDivisor - 1)) {
    --FDivisor;
    return true;
  }
  return false;
}

}  // namespace pixvane
