#include "skin/controls/PanelGeometry.h"

namespace pixvane {
namespace {

TRect Inset(const TRect& r, int32_t by) {
  return {r.Left + by, r.Top + by, r.Right - by, r.Bottom - by};
}

}  // namespace

TPanelGeometry PanelGeometryOf(int32_t width, int32_t height, const TPanelLook& look) {
  const TRect whole{0, 0, width, height};
  const int32_t bevel = look.ShowBevel ? look.BevelWidth : 0;
  TPanelGeometry g;
  g.Caption = Inset(whole, bevel);
  g.Caption.Bottom = g.Caption.Top + PanelCaptionHeight;
  if (look.ShowCaption && look.ShowButton) {
    int32_t side = g.Caption.Height();
    g.Button = Inset({g.Caption.Right - side, g.Caption.Top, g.Caption.Right, g.Caption.Bottom}, 2);
  }
  g.Client = Inset(Inset(whole, look.BorderWidth), bevel);
  if (look.ShowCaption) g.Client.Top += PanelCaptionHeight;
  return g;
}

int32_t TPanelButtonBehaviour::StateNumber() const {
  if (FPressed) return StatePressed;
  return FHot ? StateHot : StateNormal;
}

bool TPanelButtonBehaviour::MouseDown(const TRect& button, int32_t x, int32_t y) {
  if (!button.Contains(x, y)) return false;
  FPressed = FTracking = true;
  return true;
}

bool TPanelButtonBehaviour::MouseMove(const TRect& button, int32_t x, int32_t y, bool leftHeld) {
  bool over = button.Contains(x, y);
  bool pressed = FTracking && leftHeld && over;
  bool changed = over != FHot || pressed != FPressed;
  FHot = over;
  FPressed = pressed;
  return changed;
}

bool TPanelButtonBehaviour::MouseUp(const TRect& button, int32_t x, int32_t y) {
  bool run = FTracking && button.Contains(x, y);
  FTracking = FPressed = false;
  return run;
}

}  // namespace pixvane
