#pragma once
#include <cstdint>

namespace pixvane {

// The program's pseudo-random generator: a 32-bit linear congruential
// generator. It is a value: whoever runs a show or renders owns one and
// hands it by reference to everything that draws from it (the slide order,
// the music order, the random transition styles), so a show draws one
// sequence, and two shows on two threads never share a state. It is not
// safe to draw from one generator on two threads at once.
class TRandom {
 public:
  explicit TRandom(uint32_t state = 0) : FState(state) {}

  uint32_t RandSeed() const { return FState; }
  void SetRandSeed(uint32_t state) { FState = state; }
  // Seeds from a time of day: ((hour * 60 + minute) * 60 + second) * 1000 + ms.
  void SeedFromTime(int hour, int minute, int second, int milliseconds);

  // Advances the state and returns a uniform integer in 0 .. n - 1 (0 for n <= 0).
  int32_t Random(int32_t n);

 private:
  uint32_t FState;
};

}  // namespace pixvane
