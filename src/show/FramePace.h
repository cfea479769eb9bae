#pragma once
#include <cstdint>

namespace pixvane {

// The moving picture's frame rate: 60 frames a second where the machine
// keeps up, else a steady half, third or quarter of that. Frames that
// cannot keep the full rate would otherwise come whenever the last one is
// done, unevenly, with a whole core spent on them.
class TFramePace {
 public:
  uint32_t PeriodUs() const { return FullRatePeriodUs * FDivisor; }
  // A frame took costUs to draw and show. True when the period has changed:
  // decided on the average of a run of frames, so one slow frame does not.
  bool Drawn(uint32_t costUs);

 private:
  static constexpr uint32_t FullRatePeriodUs = 1000000 / 60;
  static constexpr uint32_t FramesPerDecision = 30;
  uint32_t FDivisor = 1;
  uint32_t FFrames = 0;
  uint64_t FTotalUs = 0;
};

}  // namespace pixvane
