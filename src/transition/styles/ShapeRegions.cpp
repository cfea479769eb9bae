#include "transition/styles/ShapeRegions.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace pixvane {

TRegion TriangleRegion(TPoint p1, TPoint p2, TPoint p3) {
  // Closed explicitly, the first point again as the fourth.
  const TPoint points[] = {p1, p2, p3, p1};
  return TRegion::Polygon(points, TPolyFillMode::Winding);
}

namespace {

using TSpan = std::pair<int32_t, int32_t>;  // [first, second) on one scanline

// The spans of a region scanline by scanline, from its top.
std::vector<std::vector<TSpan>> ScanlineSpans(const TRegion& shape) {
  const TRect box = shape.Bounds();
  std::vector<std::vector<TSpan>> lines(static_cast<size_t>(box.Height()));
  shape.ForEachRect([&](const TRect& r) {
    for (int32_t y = r.Top; y < r.Bottom; ++y) lines[y - box.Top].push_back({r.Left, r.Right});
  });
  return lines;
}

}  // namespace

TRegion TriangleGridRegion(int W, int H, int a, int b) {
  // All hundred triangles have the same shape, and scan conversion does not
  // change under a whole-pixel shift; so one triangle is converted, and its
  // spans are laid into every cell. Near the end the triangles reach over
  // their neighbours; the spans of each scanline are merged here, so the
  // region is made from rectangles that do not overlap.
  const TRegion shape = TriangleRegion({0, 0}, {a, 0}, {0, b});
  if (shape.IsEmpty()) return TRegion();
  const TRect box = shape.Bounds();
  const std::vector<std::vector<TSpan>> lines = ScanlineSpans(shape);
  int32_t cellX[10], cellY[10];
  for (int i = 0; i < 10; ++i) {
    cellX[i] = (i * W) / 10;
    cellY[i] = (i * H) / 10;
  }

  std::vector<TRect> pieces;
  std::vector<TSpan> spans;
  const int32_t shapeHeight = box.Height();
  for (int32_t y = cellY[0] + box.Top; y < cellY[9] + box.Bottom; ++y) {
    spans.clear();
    for (int r = 0; r < 10; ++r) {
      const int32_t k = y - cellY[r] - box.Top;
      if (k < 0 || k >= shapeHeight) continue;
      for (int c = 0; c < 10; ++c)
        for (const TSpan& s : lines[k]) spans.push_back({s.first + cellX[c], s.second + cellX[c]});
    }
    std::sort(spans.begin(), spans.end());
    for (size_t i = 0; i < spans.size();) {
      TSpan merged = spans[i++];
      while (i < spans.size() && spans[i].first <= merged.second)
        merged.second = std::max(merged.second, spans[i++].second);
      pieces.push_back({merged.first, y, merged.second, y + 1});
    }
  }
  return TRegion::FromRects(pieces);
}

}  // namespace pixvane
