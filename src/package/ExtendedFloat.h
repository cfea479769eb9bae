#pragma once
#include <cstdint>

namespace pixvane {

// The 80-bit extended-precision float of the object stream (64-bit mantissa
// with an explicit integer bit, 15-bit exponent, sign), little-endian. Every
// double converts to it exactly, so a double survives the trip there and back.
void DoubleToExtended(double value, uint8_t bytes[10]);
double ExtendedToDouble(const uint8_t bytes[10]);

}  // namespace pixvane
