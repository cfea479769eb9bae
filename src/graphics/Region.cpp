#include "graphics/Region.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <utility>

namespace pixvane {

namespace {

pixman_box32_t Box(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return pixman_box32_t{left, top, right, bottom};
}

bool IsEmptyBox(const pixman_box32_t& b) {
  return b.x1 >= b.x2 || b.y1 >= b.y2;
}

// How far each row of the lower half of a corner ellipse stays inside the
// rectangle's left and right sides: entry k belongs to row k of the
// ellipseHeight rows, and only rows ellipseHeight / 2 and below are filled.
// The platform walks the quarter ellipse with Zingl's integer algorithm for
// ellipses in a box of a x b (a = width - 1, b = height - 1); stepping the
// same error terms in the same order gives the same rows, which is the only
// way to match it pixel for pixel.
std::vector<int32_t> LowerEllipseInsets(int32_t ellipseWidth, int32_t ellipseHeight) {
  const int64_t a = ellipseWidth - 1;
  const int64_t b = ellipseHeight - 1;
  const int64_t oddB = b % 2;
  const int64_t growX = 8 * b * b;
  const int64_t growY = 8 * a * a;
  int64_t stepX = 4 * b * b * (1 - a);
  int64_t stepY = 4 * a * a * (1 + oddB);
  int64_t error = stepX + stepY + a * a * oddB;

  std::vector<int32_t> inset(static_cast<size_t>(ellipseHeight), -1);
  int32_t x = 0;
  int32_t row = ellipseHeight / 2;
  inset[row] = 0;
  while (x <= ellipseWidth / 2) {
    const int64_t twice = 2 * error;
    if (twice >= stepX) {
      ++x;
      stepX += growX;
      error += stepX;
    }
    if (twice <= stepY) {
      ++row;
      stepY += growY;
      error += stepY;
      if (row < ellipseHeight) inset[row] = x;
    }
  }
  // Very narrow, tall ellipses (under about 11 pixels wide) end the walk
  // before the last rows; the platform leaves those rows undefined. Such a
  // row is as narrow as the ellipse gets, so it keeps the last inset found.
  for (int32_t k = ellipseHeight / 2 + 1; k < ellipseHeight; ++k)
    if (inset[k] < 0) inset[k] = inset[k - 1];
  return inset;
}

int64_t CeilDiv(int64_t n, int64_t d) {  // d > 0
  return n >= 0 ? (n + d - 1) / d : -((-n) / d);
}

struct TEdge {
  int32_t YTop;  // first scanline of the edge
  int32_t YEnd;  // first scanline below it
  int64_t X0;    // x at YTop
  int64_t DX;
  int64_t DY;    // > 0
  int32_t Wind;  // +1 running down, -1 running up
};

struct TCrossing {
  int64_t X;
  int32_t Wind;
};

}  // namespace

TRegion::TRegion() {
  pixman_region32_init(&FRegion);
}

TRegion::TRegion(const TRect& rect) {
  TRect r = rect.Normalized();
  if (r.IsEmpty()) {
    pixman_region32_init(&FRegion);
  } else {
    pixman_region32_init_rect(&FRegion, r.Left, r.Top, static_cast<uint32_t>(r.Width()),
                              static_cast<uint32_t>(r.Height()));
  }
}

TRegion::TRegion(std::span<const pixman_box32_t> boxes) {
  // pixman sorts, merges and bands the boxes into its canonical form.
  pixman_region32_init_rects(&FRegion, boxes.data(), static_cast<int>(boxes.size()));
}

TRegion TRegion::FromRects(std::span<const TRect> rects) {
  std::vector<pixman_box32_t> boxes;
  boxes.reserve(rects.size());
  for (const TRect& r : rects)
    if (!r.IsEmpty()) boxes.push_back(Box(r.Left, r.Top, r.Right, r.Bottom));
  return TRegion(std::span<const pixman_box32_t>(boxes));
}

namespace {

// The rectangle and corner ellipse that a rounded region really uses.
struct TRoundRectShape {
  TRect Rect;
  int32_t EllipseWidth;  // under 2 in either direction: a plain rectangle
  int32_t EllipseHeight;
};

TRoundRectShape RoundRectShape(const TRect& rect, int32_t ellipseWidth, int32_t ellipseHeight) {
  TRect r = rect.Normalized();
  // The platform's rounded region leaves out the last column and row of the
  // rectangle; rounded styles rely on that, it is not an off-by-one here.
  --r.Right;
  --r.Bottom;
  const int64_t width = std::min<int64_t>(r.Width(), std::llabs(ellipseWidth));
  const int64_t height = std::min<int64_t>(r.Height(), std::llabs(ellipseHeight));
  assert(width <= (1 << 20) && height <= (1 << 20));
  return {r, static_cast<int32_t>(width), static_cast<int32_t>(height)};
}

}  // namespace

TRegion TRegion::RoundRect(const TRect& rect, int32_t ellipseWidth, int32_t ellipseHeight) {
  const TRoundRectShape shape = RoundRectShape(rect, ellipseWidth, ellipseHeight);
  const TRect& r = shape.Rect;
  // Too small an ellipse gives the shrunk rectangle. A rectangle that was
  // only one pixel wide or high has Right < Left now, and the rectangle
  // rule puts the edges in order again, so it keeps a line of pixels just
  // outside the original; the platform does the same.
  const int32_t ew = shape.EllipseWidth;
  const int32_t eh = shape.EllipseHeight;
  if (ew < 2 || eh < 2) return TRegion(r);

  const std::vector<int32_t> inset = LowerEllipseInsets(ew, eh);
  const int32_t half = eh / 2;
  std::vector<pixman_box32_t> boxes;
  boxes.reserve(static_cast<size_t>(eh));
  // Upper corner rows mirror the lower ones.
  for (int32_t k = 0; k < half; ++k) {
    const int32_t in = inset[eh - 1 - k];
    boxes.push_back(Box(r.Left + in, r.Top + k, r.Right - in, r.Top + k + 1));
  }
  // The straight middle, from below the upper corners to the first lower
  // corner row.
  boxes.push_back(Box(r.Left, r.Top + half, r.Right, r.Bottom - eh + half + 1));
  for (int32_t k = half + 1; k < eh; ++k) {
    const int32_t y = r.Bottom - eh + k;
    boxes.push_back(Box(r.Left + inset[k], y, r.Right - inset[k], y + 1));
  }
  // An ellipse as wide as the rectangle closes its tip rows completely.
  std::erase_if(boxes, IsEmptyBox);
  return TRegion(std::span<const pixman_box32_t>(boxes));
}

// The platform converts polygons as the X sample server does: an edge from
// (x0, y0) down to (x1, y1) takes part in the scanlines y0 .. y1 - 1, and on
// scanline y0 + k it lies at x0 + ceil(k * (x1 - x0) / (y1 - y0)), which is
// what its Bresenham stepping produces. On a scanline the pixels from one
// edge up to but not including the next inside one belong to the region.
// With the winding rule a pixel is inside when the directions of the edges
// at or left of it do not sum to zero; with the alternate rule when their
// number is odd. Horizontal edges add nothing.
TRegion TRegion::Polygon(std::span<const TPoint> points, TPolyFillMode mode) {
  const size_t n = points.size();
  std::vector<TEdge> edges;
  edges.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const TPoint& from = points[i == 0 ? n - 1 : i - 1];
    const TPoint& to = points[i];
    if (from.Y == to.Y) continue;
    const bool down = from.Y < to.Y;
    const TPoint& top = down ? from : to;
    const TPoint& bottom = down ? to : from;
    edges.push_back(TEdge{top.Y, bottom.Y, top.X, int64_t{bottom.X} - top.X,
                          int64_t{bottom.Y} - top.Y, down ? 1 : -1});
  }
  if (edges.empty()) return TRegion();
  std::sort(edges.begin(), edges.end(),
            [](const TEdge& a, const TEdge& b) { return a.YTop < b.YTop; });
  int32_t yEnd = edges.front().YEnd;
  for (const TEdge& e : edges) yEnd = std::max(yEnd, e.YEnd);

  std::vector<const TEdge*> active;
  std::vector<TCrossing> crossings;
  std::vector<int32_t> spans;      // pairs of left, right on the current scanline
  std::vector<int32_t> bandSpans;  // the spans of the band that is still open
  std::vector<pixman_box32_t> boxes;
  int32_t bandTop = edges.front().YTop;
  size_t next = 0;

  auto closeBand = [&](int32_t bottom) {
    for (size_t i = 0; i < bandSpans.size(); i += 2)
      boxes.push_back(Box(bandSpans[i], bandTop, bandSpans[i + 1], bottom));
  };

  for (int32_t y = edges.front().YTop; y < yEnd; ++y) {
    while (next < edges.size() && edges[next].YTop == y) active.push_back(&edges[next++]);
    std::erase_if(active, [y](const TEdge* e) { return e->YEnd <= y; });

    crossings.clear();
    for (const TEdge* e : active)
      crossings.push_back({e->X0 + CeilDiv((y - e->YTop) * e->DX, e->DY), e->Wind});
    std::sort(crossings.begin(), crossings.end(),
              [](const TCrossing& a, const TCrossing& b) { return a.X < b.X; });

    spans.clear();
    int32_t inside = 0;  // winding sum, or parity for the alternate rule
    for (size_t i = 0; i < crossings.size();) {
      const int64_t x = crossings[i].X;
      int32_t after = inside;
      for (; i < crossings.size() && crossings[i].X == x; ++i)
        after = mode == TPolyFillMode::Winding ? after + crossings[i].Wind : after ^ 1;
      if ((inside == 0) != (after == 0)) spans.push_back(static_cast<int32_t>(x));
      inside = after;
    }
    if (spans != bandSpans) {
      closeBand(y);
      bandSpans.swap(spans);
      bandTop = y;
    }
  }
  closeBand(yEnd);
  return TRegion(std::span<const pixman_box32_t>(boxes));
}

TRegion::TRegion(const TRegion& other) {
  pixman_region32_init(&FRegion);
  pixman_region32_copy(&FRegion, &other.FRegion);
}

TRegion::TRegion(TRegion&& other) noexcept : FRegion(other.FRegion) {
  // pixman's region is a plain header with a heap block (or a shared empty
  // marker), so it moves by copying the header and resetting the source.
  pixman_region32_init(&other.FRegion);
}

TRegion& TRegion::operator=(const TRegion& other) {
  if (this != &other) pixman_region32_copy(&FRegion, &other.FRegion);
  return *this;
}

TRegion& TRegion::operator=(TRegion&& other) noexcept {
  if (this != &other) {
    pixman_region32_fini(&FRegion);
    FRegion = other.FRegion;
    pixman_region32_init(&other.FRegion);
  }
  return *this;
}

TRegion::~TRegion() {
  pixman_region32_fini(&FRegion);
}

TRegion& TRegion::operator|=(const TRegion& other) {
  pixman_region32_union(&FRegion, &FRegion, &other.FRegion);
  return *this;
}

TRegion& TRegion::operator&=(const TRegion& other) {
  pixman_region32_intersect(&FRegion, &FRegion, &other.FRegion);
  return *this;
}

TRegion& TRegion::operator^=(const TRegion& other) {
  // pixman has no exclusive-or; it is the two differences united.
  TRegion otherOnly;
  pixman_region32_subtract(&otherOnly.FRegion, &other.FRegion, &FRegion);
  pixman_region32_subtract(&FRegion, &FRegion, &other.FRegion);
  pixman_region32_union(&FRegion, &FRegion, &otherOnly.FRegion);
  return *this;
}

TRegion& TRegion::operator-=(const TRegion& other) {
  pixman_region32_subtract(&FRegion, &FRegion, &other.FRegion);
  return *this;
}

void TRegion::Offset(int32_t dx, int32_t dy) {
  pixman_region32_translate(&FRegion, dx, dy);
}

void TRegion::Clear() {
  pixman_region32_clear(&FRegion);
}

bool TRegion::IsEmpty() const {
  return !pixman_region32_not_empty(&FRegion);
}

TRect TRegion::Bounds() const {
  if (IsEmpty()) return TRect{};
  const pixman_box32_t& e = FRegion.extents;
  return TRect{e.x1, e.y1, e.x2, e.y2};
}

bool TRegion::Contains(int32_t x, int32_t y) const {
  return pixman_region32_contains_point(&FRegion, x, y, nullptr) != 0;
}

size_t TRegion::RectCount() const {
  return static_cast<size_t>(pixman_region32_n_rects(&FRegion));
}

std::vector<TRect> TRegion::Rects() const {
  std::vector<TRect> rects;
  rects.reserve(RectCount());
  ForEachRect([&](const TRect& r) { rects.push_back(r); });
  return rects;
}

bool operator==(const TRegion& a, const TRegion& b) {
  // An empty result of pixman may keep a stale corner in its extents, so
  // emptiness is compared on its own.
  const bool aEmpty = a.IsEmpty();
  const bool bEmpty = b.IsEmpty();
  if (aEmpty || bEmpty) return aEmpty == bEmpty;
  return pixman_region32_equal(&a.FRegion, &b.FRegion) != 0;
}

}  // namespace pixvane
