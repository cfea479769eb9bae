#include "skin/SkinHue.h"

#include <algorithm>
#include <cmath>

namespace pixvane {
namespace {

// r, g, b in 0..255, turned by degrees.
void Turn(uint32_t& r, uint32_t& g, uint32_t& b, int32_t degrees) {
  const double rf = r / 255.0, gf = g / 255.0, bf = b / 255.0;
  const double high = std::max({rf, gf, bf}), low = std::min({rf, gf, bf});
  const double chroma = high - low;
  if (chroma == 0) return;
  double hue;
  if (high == rf)
    hue = std::fmod((gf - bf) / chroma + 6.0, 6.0);
  else if (high == gf)
    hue = (bf - rf) / chroma + 2.0;
  else
    hue = (rf - gf) / chroma + 4.0;
  hue = std::fmod(hue + (degrees % 360 + 360) / 60.0, 6.0);
  // Back from hue, chroma and the lowest channel: lightness and saturation
  // are those of the colour before.
  const double x = chroma * (1 - std::fabs(std::fmod(hue, 2.0) - 1));
  double out[3];
  switch (static_cast<int>(hue)) {
    case 0:
      out[0] = chroma, out[1] = x, out[2] = 0;
      break;
    case 1:
      out[0] = x, out[1] = chroma, out[2] = 0;
      break;
    case 2:
      out[0] = 0, out[1] = chroma, out[2] = x;
      break;
    case 3:
      out[0] = 0, out[1] = x, out[2] = chroma;
      break;
    case 4:
      out[0] = x, out[1] = 0, out[2] = chroma;
      break;
    default:
      out[0] = chroma, out[1] = 0, out[2] = x;
      break;
  }
  auto channel = [low](double v) { return static_cast<uint32_t>(std::lround((v + low) * 255.0)); };
  r = channel(out[0]);
  g = channel(out[1]);
  b = channel(out[2]);
}

}  // namespace

int32_t ShiftColorHue(int32_t color, int32_t delta) {
  const uint32_t value = static_cast<uint32_t>(color);
  if ((value & 0xFF000000u) || delta % 360 == 0) return color;
  uint32_t r = value & 0xFF, g = (value >> 8) & 0xFF, b = (value >> 16) & 0xFF;
  Turn(r, g, b, delta);
  return static_cast<int32_t>(r | (g << 8) | (b << 16));
}

void ShiftBitmapHue(TSkinBitmap& bitmap, int32_t delta) {
  if (delta % 360 == 0) return;
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    TSkinPixel* line = bitmap.ScanLine(y);
    for (int32_t x = 0; x < bitmap.Width(); ++x) {
      const TSkinPixel pixel = line[x];
      if ((pixel >> 24) == 0) continue;
      uint32_t b = pixel & 0xFF, g = (pixel >> 8) & 0xFF, r = (pixel >> 16) & 0xFF;
      Turn(r, g, b, delta);
      line[x] = (pixel & 0xFF000000u) | (r << 16) | (g << 8) | b;
    }
  }
}

}  // namespace pixvane
