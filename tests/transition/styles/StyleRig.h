// Helpers of the style tests: pictures whose every pixel tells where it
// came from, a rig that renders chosen frames of a style, and frames built
// by hand for calling a style's step directly.
#pragma once
#include <optional>
#include <vector>

#include "transition/Frame.h"
#include "transition/styles/StyleTable.h"

namespace pixvane::test {

// Picture pixel (x, y) holds x and y in red and green and their high bits in
// blue, whose top bit is always set; frames up to 2048 pixels a side.
TColor CodeOf(int x, int y);
TBitmap CodedPicture(int w, int h);
// A busy old screen whose blue is always 0, so no pixel of it looks like
// one of the picture.
TBitmap OldPicture(int w, int h);
bool IsPicturePixel(TColor c);
int SourceX(TColor c);
int SourceY(TColor c);

// The same bitmap or region with x and y exchanged.
TBitmap Transposed(const TBitmap& b);
TRegion Transposed(const TRegion& r);

// The pixels of screen that equal the picture pixel at the same place.
TRegion InPlaceMask(const TBitmap& screen, const TBitmap& picture);
// The pixels of screen that differ from old.
TRegion ChangedMask(const TBitmap& screen, const TBitmap& old);
// Region r cut to the W x H frame.
TRegion InFrame(const TRegion& r, int W, int H);
// The union of rectangles, for writing expected masks.
TRegion Rects(std::initializer_list<TRect> rects);

// A transition from old to picture in the given style; Render(p) draws the
// frame at p as the view does, the random styles drawing from Random.
class TStyleRig {
 public:
  TStyleRig(const TBitmap& old, const TBitmap& picture, int style, int step = 4);
  TStyleRig(int w, int h, int style, int step = 4)
      : TStyleRig(OldPicture(w, h), CodedPicture(w, h), style, step) {}
  const TBitmap& Render(int p);
  const TBitmap& Old() const { return FOld; }
  const TBitmap& Picture() const { return FPicture; }
  // What the last frame changed within the picture's bounds: what the view
  // repaints after it.
  const TRegion& Repainted() const { return FRepainted; }
  TRandom Random;

 private:
  TBitmap FOld, FPicture, FScreen;
  int FStyle, FStep;
  TRegion FRepainted;
};

// The region that a region style's step builds for a W x H frame at p, a
// random one drawn from random (or from a generator in state 0).
std::optional<TRegion> RegionOf(int style, int W, int H, int p, int step, TRandom& random);
std::optional<TRegion> RegionOf(int style, int W, int H, int p, int step = 4);

}  // namespace pixvane::test
