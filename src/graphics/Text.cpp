#include "graphics/Text.h"

namespace pixvane {

void DrawCoverage(TBitmap& target, const TRect& clip, int32_t x, int32_t y,
                  const TCoverage& coverage, TColor color) {
  const TRect area = TRect{x, y, x + coverage.Width, y + coverage.Height}.Intersect(clip).Intersect(
      target.Bounds());
  if (area.IsEmpty()) return;
  const uint8_t colour[3] = {static_cast<uint8_t>(color >> 16), static_cast<uint8_t>(color >> 8),
                             static_cast<uint8_t>(color)};  // blue, green, red
  for (int32_t py = area.Top; py < area.Bottom; ++py) {
    uint8_t* out = target.ScanLine(py) + area.Left * 3;
    const uint8_t* alphas = coverage.Alpha.data() + static_cast<size_t>(py - y) * coverage.Width;
    for (int32_t px = area.Left; px < area.Right; ++px, out += 3) {
      const int alpha = alphas[px - x];
      if (!alpha) continue;
      for (int k = 0; k < 3; ++k)
        out[k] = static_cast<uint8_t>((colour[k] * alpha + out[k] * (255 - alpha) + 127) / 255);
    }
  }
}

}  // namespace pixvane
