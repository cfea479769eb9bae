#pragma once
#include <algorithm>
#include <cstdint>

namespace pixvane {

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;

  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// A rectangle as the platform has it: Right and Bottom are exclusive, so
// (0, 0, W, H) is exactly a W x H bitmap. Styles deliberately build
// rectangles with Left > Right or Top > Bottom (mirrored copies, jittered
// bands), so nothing here normalises behind the caller's back.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  // Empty in the platform's sense: no pixel, which includes reversed edges.
  bool IsEmpty() const { return Left >= Right || Top >= Bottom; }

  // The same pixels with the edges put in order, as region and rectangle
  // calls of the platform read a reversed rectangle.
  TRect Normalized() const {
    return {std::min(Left, Right), std::min(Top, Bottom), std::max(Left, Right),
            std::max(Top, Bottom)};
  }
  TRect Offset(int32_t dx, int32_t dy) const {
    return {Left + dx, Top + dy, Right + dx, Bottom + dy};
  }
  // Common part of two ordered rectangles; empty (possibly reversed) when
  // they do not meet, so test the result with IsEmpty.
  TRect Intersect(const TRect& other) const {
    return {std::max(Left, other.Left), std::max(Top, other.Top), std::min(Right, other.Right),
            std::min(Bottom, other.Bottom)};
  }
  bool Contains(int32_t x, int32_t y) const {
    return x >= Left && x < Right && y >= Top && y < Bottom;
  }

  friend bool operator==(const TRect&, const TRect&) = default;
};

}  // namespace pixvane
