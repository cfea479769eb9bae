#include "show/Motion.h"

#include <algorithm>

namespace pixvane {
namespace {

double Between(double from, double to, double progress) {
  return from + (to - from) * progress;
}

// A point across an axis, in hundredths.
double RandomPoint(TRandom& random) {
  return random.Random(101) / 100.0;
}

}  // namespace

TMotionDraw TMotionDraw::Random(TRandom& random) {
  TMotionDraw draw;
  draw.ZoomIn = random.Random(2) == 0;
  draw.From = random.Random(2);
  draw.Across1 = RandomPoint(random);
  draw.Across2 = RandomPoint(random);
  return draw;
}

TMotionPath TMotionPath::Make(const TMotionDraw& draw, double zoom, double roomX, double roomY) {
  TMotionPath path;
  path.ZoomFrom = draw.ZoomIn ? 1 : zoom;
  path.ZoomTo = draw.ZoomIn ? zoom : 1;
  // The long way: from one end of the room to the other.
  if (roomY > roomX) {
    path.FromY = draw.From, path.ToY = 1 - draw.From;
    path.FromX = draw.Across1, path.ToX = draw.Across2;
  } else {
    path.FromX = draw.From, path.ToX = 1 - draw.From;
    path.FromY = draw.Across1, path.ToY = draw.Across2;
  }
  return path;
}

TMotionFrame TMotionPath::At(double progress, const TRect& placement, const TRect& area) const {
  progress = std::clamp(progress, 0.0, 1.0);
  const double zoom = Between(ZoomFrom, ZoomTo, progress);
  TMotionFrame frame;
  frame.Clip = placement.Intersect(area);
  frame.Width = placement.Width() * zoom;
  frame.Height = placement.Height() * zoom;
  // The room is what the zoomed picture hangs over the shown part; at 0 its
  // left (top) edge lies on the shown part's, at 1 its right (bottom) one.
  // The still picture's own overhang (fill, none) counts as room too.
  frame.Left = frame.Clip.Left - Between(FromX, ToX, progress) * (frame.Width - frame.Clip.Width());
  frame.Top = frame.Clip.Top - Between(FromY, ToY, progress) * (frame.Height - frame.Clip.Height());
  return frame;
}

double MotionPace(int32_t intervalMs, uint32_t transitionMs) {
  constexpr int32_t StillShowMs = 10000;
  const double span = (intervalMs > 0 ? intervalMs : StillShowMs) + 2.0 * transitionMs;
  return 1.0 / span;
}

}  // namespace pixvane
