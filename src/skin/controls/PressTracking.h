#pragma once
#include "skin/controls/ControlInput.h"

namespace pixvane {

// What a push button and a check box share: whether they are enabled, and
// the pressed, hot and focused flags their state number is chosen by. The
// mouse makes a control hot while it is over it and presses it with a button.
class TPressTracking {
 public:
  bool Enabled = true;

  bool Pressed() const { return FPressed; }
  bool Hot() const { return FHot; }
  bool Focused() const { return FFocused; }

  // A mouse button went down on the control: pressed, with the focus and
  // the mouse taken; nothing while disabled.
  TControlActions MouseDown();
  TControlActions MouseEnter();
  TControlActions MouseLeave();

 protected:
  bool FPressed = false;
  bool FHot = false;
  bool FFocused = false;
};

}  // namespace pixvane
