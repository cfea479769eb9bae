#include "skin/controls/CheckBoxBehaviour.h"

namespace pixvane {
void TCheckBoxBehaviour::SetState(TCheckBoxState state) {
  if (state == FState) return;
  FState = state;
  if (!Loading && OnClick) OnClick();
}

void TCheckBoxBehaviour::SetChecked(bool checked) {
  SetState(checked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
}

int32_t TCheckBoxBehaviour::StateNumber() const {
  if (!Enabled) return StateDisabled;
  if (FHot) return StateHot;
  if (FFocused) return StateFocused;
  return StateNormal;  // the box has no pressed look
}

TControlActions TCheckBoxBehaviour::MouseUp(int32_t x, int32_t y, int32_t width, int32_t height) {
  if (!FPressed) return {};
  FPressed = false;
  TControlActions actions = RepaintOnly();
  actions.ReleaseCapture = true;
  if (x >= 0 && x <= width && y >= 0 && y <= height) Toggle();
  return actions;
}

TControlActions TCheckBoxBehaviour::KeyDown(TControlKey key) {
  if (key != TControlKey::Space || !Enabled) return {};
  FPressed = true;
  return RepaintOnly();
}

TControlActions TCheckBoxBehaviour::KeyUp(TControlKey key) {
  if (key != TControlKey::Space || !FPressed) return {};
  Toggle();
  FPressed = false;
  return RepaintOnly();
}

TControlActions TCheckBoxBehaviour::Accelerator() {
  // The window has given the box the focus first; where the focus was
  // refused (the form is not active) the mark does nothing.
  if (!Enabled || !FFocused) return {};
  Toggle();
  return RepaintOnly();
}

TControlActions TCheckBoxBehaviour::FocusEntered() {
  FFocused = true;
  return RepaintOnly();
}

TControlActions TCheckBoxBehaviour::FocusLeft() {
  FFocused = false;
  FPressed = false;  // a Space released elsewhere must not toggle later
  return RepaintOnly();
}

}  // namespace pixvane
