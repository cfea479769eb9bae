#include "skin/controls/ButtonBehaviour.h"

namespace pixvane {
int32_t TButtonBehaviour::StateNumber() const {
  if (!Enabled) return StateDisabled;
  if (FPressed) return StatePressed;
  if (FHot) return StateHot;
  if (FFocused || FDefaultLook) return StateFocused;
  return StateNormal;
}

TControlActions TButtonBehaviour::MouseDown() {
  TControlActions actions = TPressTracking::MouseDown();
  if (actions.Capture) FTracking = true;
  return actions;
}

TControlActions TButtonBehaviour::MouseMove(int32_t x, int32_t y, int32_t width, int32_t height) {
  if (!FTracking) return {};
  // The bottom row counts as inside while tracking, though not for the click.
  bool inside = x >= 0 && x < width && y >= 0 && y <= height;
  if (inside == FPressed) return {};
  FPressed = inside;
  return RepaintOnly();
}

TControlActions TButtonBehaviour::MouseUp(int32_t x, int32_t y, int32_t width, int32_t height) {
  if (!FTracking) return {};
  FTracking = FPressed = false;
  TControlActions actions = RepaintOnly();
  actions.ReleaseCapture = true;
  actions.Click = x >= 0 && x < width && y >= 0 && y < height;
  return actions;
}

TControlActions TButtonBehaviour::KeyDown(TControlKey key, bool alt) {
  if (key != TControlKey::Space || alt) return {};
  FPressed = true;
  return RepaintOnly();
}

TControlActions TButtonBehaviour::KeyUp(TControlKey key, bool alt) {
  TControlActions actions;
  if (key == TControlKey::Space) {
    FPressed = false;
    actions.Repaint = actions.Click = actions.ConsumeKey = true;
  } else if (key == TControlKey::Enter && !alt) {
    actions.FlashPressed = actions.ConsumeKey = true;
  }
  return actions;
}

TControlActions TButtonBehaviour::DialogKey(TControlKey key, bool shift, bool ctrl,
                                            bool alt) const {
  TControlActions actions;
  if (shift || ctrl || alt || !CanFocus) return actions;
  actions.Click =
      (key == TControlKey::Enter && FDefaultLook) || (key == TControlKey::Escape && Cancel);
  actions.ConsumeKey = actions.Click;
  return actions;
}

TControlActions TButtonBehaviour::Accelerator() const {
  TControlActions actions;
  if (!Enabled) return actions;
  actions.TakeFocus = actions.Click = true;
  return actions;
}

TControlActions TButtonBehaviour::FocusEntered() {
  FFocused = FDefaultLook = true;  // a focused button is the one Enter clicks
  return RepaintOnly();
}

TControlActions TButtonBehaviour::FocusLeft() {
  FFocused = false;
  return RepaintOnly();
}

TControlActions TButtonBehaviour::FocusMovedElsewhere(bool toAnotherButton) {
  bool look = toAnotherButton ? false : Default;
  if (look == FDefaultLook) return {};
  FDefaultLook = look;
  return RepaintOnly();
}

}  // namespace pixvane
