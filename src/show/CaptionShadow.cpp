#include "show/CaptionShadow.h"

#include <algorithm>

namespace pixvane {
namespace {

// A box blur of radius r along one axis of a width x height plane: count
// values step apart from each start. Run along both axes, twice, it is
// close to a Gaussian.
void BoxBlur(std::vector<int32_t>& plane, int32_t lines, int32_t lineStep, int32_t count,
             int32_t step, int32_t r) {
  std::vector<int32_t> line(count);
  const int32_t window = 2 * r + 1;
  for (int32_t l = 0; l < lines; ++l) {
    int32_t* values = &plane[static_cast<size_t>(l) * lineStep];
    for (int32_t i = 0; i < count; ++i) line[i] = values[i * step];
    int32_t sum = 0;
    for (int32_t i = 0; i < std::min(r, count); ++i) sum += line[i];
    for (int32_t i = 0; i < count; ++i) {
      if (i + r < count) sum += line[i + r];
      if (i - r - 1 >= 0) sum -= line[i - r - 1];
      values[i * step] = sum / window;
    }
  }
}

// The text's coverage widened by radius on every side and blurred.
std::vector<int32_t> BlurredShadow(const TCoverage& text, int32_t radius) {
  const int32_t width = text.Width + 2 * radius, height = text.Height + 2 * radius;
  std::vector<int32_t> plane(static_cast<size_t>(width) * height, 0);
  for (int32_t row = 0; row < text.Height; ++row)
    for (int32_t col = 0; col < text.Width; ++col)
      plane[static_cast<size_t>(row + radius) * width + col + radius] =
          text.Alpha[static_cast<size_t>(row) * text.Width + col];
  for (int pass = 0; pass < 2; ++pass) {
    BoxBlur(plane, height, width, width, 1, radius);
    BoxBlur(plane, width, 1, height, width, radius);
  }
  return plane;
}

// A moving slide casts the same lines' shadows every frame: the last few
// blurs are kept, for each thread that draws, keyed by the coverage itself.
const std::vector<int32_t>& CachedShadow(const TCoverage& text, int32_t radius) {
  struct TEntry {
    TCoverage Text;
    std::vector<int32_t> Plane;
  };
  constexpr size_t Kept = 8;
  thread_local std::vector<TEntry> kept;
  for (const TEntry& entry : kept)
    if (entry.Text.Width == text.Width && entry.Text.Height == text.Height &&
        entry.Text.Alpha == text.Alpha)
      return entry.Plane;
  if (kept.size() >= Kept) kept.erase(kept.begin());
  kept.push_back({text, BlurredShadow(text, radius)});
  return kept.back().Plane;
}

}  // namespace

void DrawShadow(TBitmap& slide, const TRect& clip, int32_t x, int32_t y, const TCoverage& text) {
  if (text.Width <= 0 || text.Height <= 0) return;
  // The radius follows from the coverage's height, so the key holds it.
  const int32_t radius = std::max(1, text.Height / 10);
  const int32_t offset = std::max(1, text.Height / 16);
  const int32_t width = text.Width + 2 * radius, height = text.Height + 2 * radius;
  const std::vector<int32_t>& plane = CachedShadow(text, radius);

  const int32_t left = x - radius + offset, top = y - radius + offset;
  const TRect area =
      clip.Intersect(slide.Bounds()).Intersect({left, top, left + width, top + height});
  for (int32_t py = area.Top; py < area.Bottom; ++py) {
    uint8_t* out = slide.ScanLine(py) + area.Left * 3;
    const int32_t* shade = &plane[static_cast<size_t>(py - top) * width + (area.Left - left)];
    for (int32_t px = area.Left; px < area.Right; ++px, out += 3, ++shade) {
      // Doubled so the blur stays dense next to the strokes; never quite black.
      const int32_t keep = 255 - std::min(255, *shade * 2) * 3 / 4;
      for (int k = 0; k < 3; ++k) out[k] = static_cast<uint8_t>((out[k] * keep + 127) / 255);
    }
  }
}

}  // namespace pixvane
