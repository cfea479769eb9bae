#pragma once
#include <cstdint>

#include "base/Random.h"
#include "graphics/Geometry.h"

namespace pixvane {

// Where a moving picture lies on the screen at one moment: its rectangle,
// in fractions of a pixel, and the part of the screen it may paint.
struct TMotionFrame {
  double Left = 0, Top = 0, Width = 0, Height = 0;
  TRect Clip;
};

// The random choices of one path: zooming in or out, the end of the long
// axis it starts from, and two points across the other. They are drawn from
// the show's generator on the show's thread when the slide is planned, so a
// slide prepared on another thread moves as one prepared at its tick.
struct TMotionDraw {
  bool ZoomIn = true;
  double From = 0;
  double Across1 = 0.5, Across2 = 0.5;

  static TMotionDraw Random(TRandom& random);
};

// The slow pan and zoom of one slide. The picture starts at one zoom and
// ends at the other (1 and the package's zoom, either way round), and its
// view slides from one point to another on each axis, in fractions of the
// room the zoomed picture leaves to move in. It is chosen once per slide, so
// every monitor moves alike.
struct TMotionPath {
  double ZoomFrom = 1, ZoomTo = 1;
  double FromX = 0.5, ToX = 0.5, FromY = 0.5, ToY = 0.5;

  // The path of draw: zooming in or out, and panning the whole way along
  // the axis where the picture has the more room (a portrait photo filling
  // a landscape screen pans down or up), from one point to another across
  // the other. roomX and roomY are the picture's overhang in pixels at the
  // full zoom.
  static TMotionPath Make(const TMotionDraw& draw, double zoom, double roomX, double roomY);

  // The picture at progress 0 to 1 of its time on screen. placement is
  // where the still picture lands (by the scale mode) and area its monitor.
  // The moving picture never leaves what the still one covered inside the
  // area: a picture that fills the screen keeps filling it, one fitted
  // between bars keeps the bars as they were.
  TMotionFrame At(double progress, const TRect& placement, const TRect& area) const;
};

// How far a picture shown for intervalMs travels along its path per
// millisecond, given the transitions around it take transitionMs each: the
// path spans its whole time on screen. A show that stays on one picture
// (no interval) moves over ten seconds and then holds still.
double MotionPace(int32_t intervalMs, uint32_t transitionMs);

}  // namespace pixvane
