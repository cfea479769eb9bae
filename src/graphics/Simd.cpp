#include "graphics/Simd.h"

#include <algorithm>

namespace pixvane {
namespace {

TSimd Detect() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) return TSimd::Avx2;
#endif
#if defined(__SSE2__)
  return TSimd::Sse2;
#else
  return TSimd::Plain;
#endif
}

TSimd& Limit() {
  static TSimd limit = TSimd::Avx2;
  return limit;
}

}  // namespace

TSimd BestSimd() {
  static const TSimd best = Detect();
  return best;
}

TSimd ActiveSimd() {
  return std::min(BestSimd(), Limit());
}

TSimdLimit::TSimdLimit(TSimd most) : FBefore(Limit()) {
  Limit() = most;
}

TSimdLimit::~TSimdLimit() {
  Limit() = FBefore;
}

}  // namespace pixvane
