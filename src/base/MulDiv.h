#pragma once
#include <cstdint>

namespace pixvane {

// The platform's multiply-then-divide: a * b / c with a 64-bit intermediate,
// rounded to the nearest integer with halves away from zero; -1 when c is 0
// or the result does not fit in 32 bits, as the platform answers.
constexpr int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  int64_t product = int64_t{a} * b;
  int64_t divisor = c;
  if (divisor < 0) {
    product = -product;
    divisor = -divisor;
  }
  int64_t result = (product >= 0 ? product + divisor / 2 : product - divisor / 2) / divisor;
  if (result > 2147483647 || result < -2147483647) return -1;
  return static_cast<int32_t>(result);
}

}  // namespace pixvane
