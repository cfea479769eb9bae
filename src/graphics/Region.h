#pragma once
#include <pixman.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "graphics/Geometry.h"

namespace pixvane {

// Fill rules of a polygon region, with the platform's values.
enum class TPolyFillMode : int32_t {
  Alternate = 1,  // a pixel is inside when an odd number of edges lie at or left of it
  Winding = 2,    // a pixel is inside when the edges at or left of it do not cancel out
};

// A set of pixels, the clipping shape of the region styles. It is a value:
// copies are independent, and the algebra never fails. The set operations
// run on pixman; the shapes (rounded rectangles, polygons) are scan
// converted here so that they cover exactly the pixels that the platform's
// CreateRoundRectRgn and CreatePolygonRgn cover. The Windows tests hold
// every shape against the platform's own.
//
// Coordinates are expected within +-2^29, a large margin over any frame.
class TRegion {
 public:
  // The empty region.
  TRegion();
  // All pixels of the rectangle, as CreateRectRgn: reversed edges are put in
  // order, so (10, 0, 0, 5) is the same region as (0, 0, 10, 5).
  explicit TRegion(const TRect& rect);
  TRegion(int32_t left, int32_t top, int32_t right, int32_t bottom)
      : TRegion(TRect{left, top, right, bottom}) {}

  // CreateRoundRectRgn: the rectangle with its corners cut by quarter
  // ellipses of ellipseWidth x ellipseHeight. As on the platform the
  // rectangle loses its last column and row, the ellipse is limited to the
  // rectangle, and an ellipse under 2 pixels in either direction leaves a
  // plain (smaller) rectangle. On very narrow, tall ellipses (under about 11
  // pixels wide) the platform's corner walk stops short and leaves the last
  // rows of the corners to whatever memory held; there RoundRect keeps the
  // narrowest row it found. No style makes such corners.
  static TRegion RoundRect(const TRect& rect, int32_t ellipseWidth, int32_t ellipseHeight);
  // CreatePolygonRgn: the closed polygon through the points (the last point
  // joins the first). Edges may cross and points may lie anywhere.
  static TRegion Polygon(std::span<const TPoint> points,
                         TPolyFillMode mode = TPolyFillMode::Winding);
  // The union of the rectangles; empty and reversed ones add nothing. This
  // takes in region data as the platform lists it.
  static TRegion FromRects(std::span<const TRect> rects);

  TRegion(const TRegion& other);
  TRegion(TRegion&& other) noexcept;
  TRegion& operator=(const TRegion& other);
  TRegion& operator=(TRegion&& other) noexcept;
  ~TRegion();

  // CombineRgn with RGN_OR, RGN_AND, RGN_XOR and RGN_DIFF.
  TRegion& operator|=(const TRegion& other);
  TRegion& operator&=(const TRegion& other);
  TRegion& operator^=(const TRegion& other);
  TRegion& operator-=(const TRegion& other);
  friend TRegion operator|(TRegion a, const TRegion& b) { return a |= b; }
  friend TRegion operator&(TRegion a, const TRegion& b) { return a &= b; }
  friend TRegion operator^(TRegion a, const TRegion& b) { return a ^= b; }
  friend TRegion operator-(TRegion a, const TRegion& b) { return a -= b; }

  // OffsetRgn.
  void Offset(int32_t dx, int32_t dy);
  void Clear();

  bool IsEmpty() const;
  // The smallest rectangle around the region; (0, 0, 0, 0) when it is empty,
  // as GetRgnBox reports it.
  TRect Bounds() const;
  bool Contains(int32_t x, int32_t y) const;

  // The region as disjoint rectangles, sorted by rows of equal height from
  // top to bottom and left to right within a row, with rows of equal spans
  // merged. This form is unique, so two regions are equal exactly when their
  // lists are.
  size_t RectCount() const;
  std::vector<TRect> Rects() const;
  // Calls f(const TRect&) for every rectangle of that list, without copying
  // it; the drawing code walks regions this way.
  template <class F>
  void ForEachRect(F&& f) const {
    int count = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&FRegion, &count);
    for (int i = 0; i < count; ++i) f(TRect{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
  }

  friend bool operator==(const TRegion& a, const TRegion& b);

 private:
  explicit TRegion(std::span<const pixman_box32_t> boxes);

  pixman_region32_t FRegion;
};

}  // namespace pixvane
