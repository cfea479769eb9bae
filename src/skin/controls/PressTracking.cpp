#include "skin/controls/PressTracking.h"

namespace pixvane {

TControlActions TPressTracking::MouseDown() {
  if (!Enabled) return {};
  FPressed = true;
  TControlActions actions = RepaintOnly();
  actions.TakeFocus = actions.Capture = true;  // a release outside must reach us too
  return actions;
}

TControlActions TPressTracking::MouseEnter() {
  FHot = true;
  return RepaintOnly();
}

TControlActions TPressTracking::MouseLeave() {
  FHot = false;
  return RepaintOnly();
}

}  // namespace pixvane
