#pragma once
#include <cstdint>

namespace pixvane {

// The program's one pseudo-random generator: a 32-bit linear congruential
// generator whose state is process-wide, so the slide order, the music order
// and the random transition styles all draw from one sequence. It is only
// used on the user-interface thread.
uint32_t RandSeed();
void SetRandSeed(uint32_t state);

// Seeds from a time of day: ((hour * 60 + minute) * 60 + second) * 1000 + ms.
void SeedRandomFromTime(int hour, int minute, int second, int milliseconds);

// Advances the state and returns a uniform integer in 0 .. n - 1 (0 for n <= 0).
int32_t Random(int32_t n);

}  // namespace pixvane
