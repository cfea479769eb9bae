#pragma once
#include <functional>
#include <vector>

#include "base/Random.h"
#include "graphics/Bitmap.h"
#include "graphics/Geometry.h"

namespace pixvane {

// What a frame is drawn from: the snapshot the transition starts from and
// the new picture, both of the screen's size, the style, where the
// transition stands and how far it moves per frame, and the generator the
// random styles draw their pattern from (that of the show or render the
// frame belongs to).
struct TFrameSource {
  const TBitmap& OldScreen;
  const TBitmap& Picture;
  int Style;     // 0 (custom) to StyleCount; a higher number draws nothing
  int Progress;  // 0 to 100
  int Step;      // 1 to 100
  TRandom& Random;
};

// The view's own parts of a frame, where its events come in.
struct TFrameHooks {
  // Runs once the old screen is down, before the style draws.
  std::function<void()> BeforeStyle;
  // Draws the custom style. Without it the custom style shows the whole
  // picture at once.
  std::function<void()> CustomDraw;
};

struct TFrameResult {
  // False for a style number above StyleCount: the frame stopped once the
  // old screen was down, and nothing of it is to be shown.
  bool Styled = false;
  // The rectangles of the screen the frame drew, in the order drawn; they
  // may reach beyond the screen.
  std::vector<TRect> Changed;
  // The custom style without CustomDraw showed the whole picture: for the
  // view the transition has reached its end.
  bool ShowedWhole = false;
};

// Draws one frame of a transition onto screen: the old screen, then what the
// style shows of the picture at this progress. Random styles advance the
// source's generator, so their frames follow from its state as well; nothing
// outside the arguments is read or kept.
TFrameResult DrawFrame(TBitmap& screen, const TFrameSource& source, const TFrameHooks& hooks = {});

}  // namespace pixvane
