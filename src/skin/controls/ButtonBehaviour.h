#pragma once
#include <cstdint>

#include "skin/controls/ControlInput.h"
#include "skin/controls/PressTracking.h"

namespace pixvane {

// The mouse and keyboard rules of a skinned push button, and the state
// number its face is painted in. Coordinates are the control's client
// coordinates; width and height its size.
class TButtonBehaviour : public TPressTracking {
 public:
  bool Default = false;  // the form's default button: Enter clicks it
  bool Cancel = false;   // its modal result is the cancel result: Escape clicks it
  bool CanFocus = true;  // visible and enabled on a visible form

  int32_t StateNumber() const;
  bool DefaultLook() const { return FDefaultLook; }

  // Presses as any control does, and tracks the mouse until it is released:
  // moving out and in again releases and presses the button.
  TControlActions MouseDown();
  TControlActions MouseMove(int32_t x, int32_t y, int32_t width, int32_t height);
  TControlActions MouseUp(int32_t x, int32_t y, int32_t width, int32_t height);
  TControlActions KeyDown(TControlKey key, bool alt);
  TControlActions KeyUp(TControlKey key, bool alt);
  // A key the form offers every button before any control sees it.
  TControlActions DialogKey(TControlKey key, bool shift, bool ctrl, bool alt) const;
  TControlActions Accelerator() const;
  TControlActions FocusEntered();
  TControlActions FocusLeft();
  // The focus has gone to another control: a button takes the default look
  // away, any other control gives it back to the default button.
  TControlActions FocusMovedElsewhere(bool toAnotherButton);

 private:
  bool FTracking = false;
  bool FDefaultLook = false;
};

}  // namespace pixvane
