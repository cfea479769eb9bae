#pragma once
#include <cstdint>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/Geometry.h"
#include "transition/FrameRenderer.h"

namespace pixvane {

// A part of the screen with a transition of its own.
struct TTransitionArea {
  TRect Bounds;
  uint8_t Style = 0;
};

// The transitions of several parts of one screen at once, each in its own
// style and at the same progress: every part is drawn as a screen of its
// own, from its share of the old screen and of the picture, and what changed
// is copied into place. Parts outside the screen are dropped.
class TAreaFrames {
 public:
  TAreaFrames(const std::vector<TTransitionArea>& areas, const TBitmap& oldScreen,
              const TBitmap& picture);

  // One frame of every part that is still changing, onto screen, the parts
  // drawing from random in turn. The result is styled when any part drew,
  // and shows the whole picture once every part has.
  TFrameResult Draw(TBitmap& screen, int progress, int step, TRandom& random);

 private:
  struct TPart {
    TRect Bounds;
    int Style;
    TBitmap Old, Picture, Screen;
    bool Whole = false;  // the custom style has shown all of it
  };
  std::vector<TPart> FParts;
};

}  // namespace pixvane
