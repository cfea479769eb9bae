#include "base/Random.h"

namespace pixvane {

void TRandom::SeedFromTime(int hour, int minute, int second, int milliseconds) {
  FState = static_cast<uint32_t>(((hour * 60 + minute) * 60 + second) * 1000 + milliseconds);
}

int32_t TRandom::Random(int32_t n) {
  FState = FState * 134775813u + 1u;
  // The high half of state * n is uniform in 0 .. n - 1. A negative n would
  // give a meaningless range; callers never ask for one, and 0 is the safe answer.
  if (n <= 0) return 0;
  return static_cast<int32_t>((static_cast<uint64_t>(FState) * static_cast<uint32_t>(n)) >> 32);
}

}  // namespace pixvane
