#pragma once
#include <cstdint>
#include <functional>

#include "skin/controls/ControlInput.h"
#include "skin/controls/PressTracking.h"

namespace pixvane {

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// The state, mouse and keyboard rules of a skinned check box, and the state
// number its box is painted in.
class TCheckBoxBehaviour : public TPressTracking {
 public:
  bool Loading = false;           // while its form is read, changes raise nothing
  std::function<void()> OnClick;  // every change of State, by the user or the program

  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState state);
  bool Checked() const { return FState == TCheckBoxState::cbChecked; }
  void SetChecked(bool checked);

  int32_t StateNumber() const;

  // Inside includes the right and bottom edges, as the box has always had it.
  TControlActions MouseUp(int32_t x, int32_t y, int32_t width, int32_t height);
  TControlActions KeyDown(TControlKey key);
  TControlActions KeyUp(TControlKey key);
  // The caption's mark, called once the window has tried to take the focus:
  // toggles the box when it has the focus.
  TControlActions Accelerator();
  TControlActions FocusEntered();
  TControlActions FocusLeft();

 private:
  void Toggle() { SetChecked(!Checked()); }  // grayed counts as unchecked

  TCheckBoxState FState = TCheckBoxState::cbUnchecked;
};

}  // namespace pixvane
