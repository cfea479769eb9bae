#include "package/ExtendedFloat.h"

#include <cmath>
#include <cstring>

namespace pixvane {

void DoubleToExtended(double value, uint8_t bytes[10]) {
  std::memset(bytes, 0, 10);
  uint16_t top = std::signbit(value) ? 0x8000 : 0;
  value = std::fabs(value);
  uint64_t mantissa = 0;
  if (std::isnan(value) || std::isinf(value)) {
    top |= 0x7FFF;
    mantissa = std::isnan(value) ? 0xC000000000000000ull : 0x8000000000000000ull;
  } else if (value != 0) {
    int exponent;
    double fraction =
        std::frexp(value, &exponent);  // value = fraction * 2^exponent, fraction in [0.5, 1)
    mantissa = static_cast<uint64_t>(std::ldexp(fraction, 64));
    top |= static_cast<uint16_t>(exponent - 1 + 16383);
  }
  std::memcpy(bytes, &mantissa, 8);
  bytes[8] = static_cast<uint8_t>(top);
  bytes[9] = static_cast<uint8_t>(top >> 8);
}

double ExtendedToDouble(const uint8_t bytes[10]) {
  uint64_t mantissa;
  std::memcpy(&mantissa, bytes, 8);  // little-endian hosts only, as both targets are
  int exponent = (bytes[8] | (bytes[9] << 8)) & 0x7FFF;
  bool negative = bytes[9] & 0x80;
  double value;
  if (exponent == 0x7FFF)
    value = (mantissa << 1) ? NAN : INFINITY;
  else
    value = std::ldexp(static_cast<double>(mantissa), exponent - 16383 - 63);
  return negative ? -value : value;
}

}  // namespace pixvane
