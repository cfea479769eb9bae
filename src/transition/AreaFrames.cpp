#include "transition/AreaFrames.h"

#include "graphics/Copy.h"

namespace pixvane {
namespace {

TBitmap Cut(const TBitmap& source, const TRect& area) {
  TBitmap part(area.Width(), area.Height());
  CopyRect(part, 0, 0, source, area);
  return part;
}

}  // namespace

TAreaFrames::TAreaFrames(const std::vector<TTransitionArea>& areas, const TBitmap& oldScreen,
                         const TBitmap& picture) {
  for (const TTransitionArea& area : areas) {
    const TRect bounds = area.Bounds.Intersect(picture.Bounds());
    if (bounds.IsEmpty()) continue;
    TBitmap old = Cut(oldScreen, bounds);
    TBitmap screen = old;
    FParts.push_back({bounds, area.Style, std::move(old), Cut(picture, bounds), std::move(screen)});
  }
}

TFrameResult TAreaFrames::Draw(TBitmap& screen, int progress, int step, TRandom& random) {
  TFrameResult result;
  result.ShowedWhole = !FParts.empty();
  for (TPart& part : FParts) {
    if (!part.Whole) {
      const TFrameResult frame =
          DrawFrame(part.Screen, {part.Old, part.Picture, part.Style, progress, step, random});
      part.Whole = frame.ShowedWhole;
      if (frame.Styled) {
        result.Styled = true;
        for (const TRect& changed : frame.Changed) {
          const TRect inside = changed.Intersect(part.Screen.Bounds());
          if (inside.IsEmpty()) continue;
          CopyRect(screen, part.Bounds.Left + inside.Left, part.Bounds.Top + inside.Top,
                   part.Screen, inside);
          result.Changed.push_back(inside.Offset(part.Bounds.Left, part.Bounds.Top));
        }
      }
    }
    result.ShowedWhole = result.ShowedWhole && part.Whole;
  }
  return result;
}

}  // namespace pixvane
