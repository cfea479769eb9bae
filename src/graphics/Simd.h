#pragma once
#include <cstdint>

namespace pixvane {

// The vector instructions a pixel loop may use. SSE2 is the floor of every
// x86-64 processor; AVX2 is taken where the processor has it. Every path
// gives the same bytes: the fast ones only do the plain one's integer sums
// several at a time.
enum class TSimd : uint8_t { Plain, Sse2, Avx2 };

// The path the pixel loops take: the best the processor has, unless a test
// held it lower.
TSimd ActiveSimd();
// The best path this processor runs.
TSimd BestSimd();

// Holds the pixel loops to at most the given path while it lives, so a test
// can hold each path's bytes against the plain one's. Not for use while
// another thread draws.
class TSimdLimit {
 public:
  explicit TSimdLimit(TSimd most);
  ~TSimdLimit();
  TSimdLimit(const TSimdLimit&) = delete;
  TSimdLimit& operator=(const TSimdLimit&) = delete;

 private:
  TSimd FBefore;
};

}  // namespace pixvane
