#pragma once
#include <optional>
#include <vector>

#include "base/MulDiv.h"
#include "base/Random.h"
#include "graphics/Bitmap.h"
#include "graphics/Copy.h"
#include "graphics/Geometry.h"
#include "graphics/Region.h"

namespace pixvane {

// One frame of a transition as a style sees it: the per-frame quantities,
// the rectangles D and R, the frame region G, the two bitmaps and the
// generator the random styles draw from. A style step sets D and R
// (rectangle styles, which may also draw earlier pieces themselves), builds
// G (region styles) or writes pixels of the screen directly (pixel styles);
// the renderer completes the frame.
struct TFrame {
  // The frame at progress p with the view's step, over a screen and a
  // picture of one size.
  TFrame(TBitmap& screen, const TBitmap& picture, int progress, int step, TRandom& random);

  int p;       // progress, 0 to 100
  int W, H;    // picture bitmap size
  int PX, PY;  // horizontal and vertical progress extents
  int S;       // step extent
  int Step;    // the view's Step
  TRect D, R;  // destination on the screen, source on the picture
  std::optional<TRegion> G;
  TBitmap& Screen;
  const TBitmap& Picture;
  TRandom& Random;
  // Screen rectangles a step drew before its last piece D; they change with it.
  std::vector<TRect> Pieces;

  // The copy D <- R: picture rectangle r stretched onto screen rectangle d.
  void Copy(const TRect& d, const TRect& r) { StretchCopy(Screen, d, Picture, r); }
};

inline TFrame::TFrame(TBitmap& screen, const TBitmap& picture, int progress, int step,
                      TRandom& random)
    : p(progress),
      W(picture.Width()),
      H(picture.Height()),
      Step(step),
      D{0, 0, W, H},
      R{0, 0, W, H},
      Screen(screen),
      Picture(picture),
      Random(random) {
  // The longer side advances by exactly p percent, the shorter in proportion.
  if (W >= H) {
    PX = MulDiv(W, p, 100);
    PY = MulDiv(PX, H, W);
    S = MulDiv(W, step, 90);
  } else {
    PY = MulDiv(H, p, 100);
    PX = MulDiv(PY, W, H);
    S = MulDiv(H, step, 90);
  }
}

}  // namespace pixvane
