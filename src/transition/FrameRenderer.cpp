#include "transition/FrameRenderer.h"

#include <utility>

#include "graphics/Copy.h"
#include "transition/Frame.h"
#include "transition/styles/StyleTable.h"

namespace pixvane {

namespace {

// The custom style without a drawing of its own: the whole picture at once.
void ShowWhole(TFrame& frame) {
  Draw(frame.Screen, 0, 0, frame.Picture);
  frame.G = TRegion(TRect{0, 0, frame.W, frame.H});
}

// After the style's step: the whole picture at the end, nothing more at the
// start, and in between the style's last piece, by its kind.
void Complete(TFrame& frame, TStyleKind kind) {
  if (frame.p == 100) {
    Draw(frame.Screen, 0, 0, frame.Picture);
  } else if (frame.p > 0) {
    if (kind == TStyleKind::Rectangle)
      frame.Copy(frame.D, frame.R);
    else if (kind != TStyleKind::Pixel && frame.G)
      DrawClipped(frame.Screen, 0, 0, frame.Picture, *frame.G);
    else if (kind != TStyleKind::Pixel)
      Draw(frame.Screen, 0, 0, frame.Picture);  // no region: nothing restricts the drawing
  }
}

}  // namespace

TFrameResult DrawFrame(TBitmap& screen, const TFrameSource& source, const TFrameHooks& hooks) {
  Draw(screen, 0, 0, source.OldScreen);
  if (hooks.BeforeStyle) hooks.BeforeStyle();
  TFrameResult result;
  if (source.Style < 0 || source.Style > StyleCount) return result;
  result.Styled = true;

  TFrame frame(screen, source.Picture, source.Progress, source.Step, source.Random);
  const TStyle& style = StyleTable[source.Style];
  if (style.Kind != TStyleKind::Custom) {
    style.Step(frame);
  } else if (hooks.CustomDraw) {
    hooks.CustomDraw();
  } else {
    ShowWhole(frame);
    result.ShowedWhole = true;
  }
  Complete(frame, style.Kind);
  result.Changed = std::move(frame.Pieces);
  result.Changed.push_back(frame.D);
  return result;
}

}  // namespace pixvane
