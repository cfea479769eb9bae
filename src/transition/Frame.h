#pragma once
#include <functional>
#include <optional>

#include "base/Bitmap.h"
#include "base/Geometry.h"
#include "transition/Copy.h"
#include "transition/Region.h"

namespace pixvane {

// One frame of a transition as a style sees it: the per-frame quantities,
// the rectangles D and R, the frame region G, and the two bitmaps. A style
// step sets D and R (rectangle styles, which may also copy and invalidate
// earlier pieces themselves), builds G (region styles) or writes pixels of
// the screen directly (pixel styles); the view completes the frame.
struct TFrame {
  int p = 0;           // progress, 0 to 100
  int W = 0, H = 0;    // picture bitmap size
  int PX = 0, PY = 0;  // horizontal and vertical progress extents
  int S = 0;           // step extent
  int Step = 0;        // the view's Step
  TRect D, R;          // destination on the screen, source on the picture
  std::optional<TRegion> G;
  TBitmap& Screen;
  const TBitmap& Picture;
  std::function<void(const TRect&)> Invalidate;  // marks a screen-bitmap rectangle for repainting

  // The copy D <- R: picture rectangle r stretched onto screen rectangle d.
  void Copy(const TRect& d, const TRect& r) { StretchCopy(Screen, d, Picture, r); }
};

}  // namespace pixvane
