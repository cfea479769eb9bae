#include "host/QuadrantJpeg.h"

#include "support/TestJpeg.h"

namespace pixvane::test {

std::vector<uint8_t> MakeQuadrantJpeg(int width, int height) {
  return EncodeJpeg(width, height, [&](int x, int y) {
    return QuadrantColors[(y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0)];
  });
}

bool NearColor(TColor a, TColor b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (difference > tolerance || difference < -tolerance) return false;
  }
  return true;
}

}  // namespace pixvane::test
