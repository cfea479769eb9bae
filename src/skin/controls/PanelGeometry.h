#pragma once
#include <cstdint>

#include "graphics/Geometry.h"
#include "skin/controls/ControlInput.h"

namespace pixvane {

enum class TPanelButtonKind { pbkRoll, pbkHide };

// Where a skinned panel puts its caption bar, its caption button and its
// children.
struct TPanelGeometry {
  TRect Caption;
  TRect Button;  // empty without a caption or without a button
  TRect Client;
};

struct TPanelLook {
  bool ShowCaption = true;
  bool ShowBevel = true;
  bool ShowButton = true;
  int32_t BevelWidth = 1;
  int32_t BorderWidth = 3;
};

inline constexpr int32_t PanelCaptionHeight = 20;

TPanelGeometry PanelGeometryOf(int32_t width, int32_t height, const TPanelLook& look);

// The caption button's press: down inside it presses, moving with the button
// held presses only while over it, and a release inside runs its action.
class TPanelButtonBehaviour {
 public:
  int32_t StateNumber() const;
  bool Pressed() const { return FPressed; }
  // Each returns true when the button's look changed.
  bool MouseDown(const TRect& button, int32_t x, int32_t y);
  bool MouseMove(const TRect& button, int32_t x, int32_t y, bool leftHeld);
  // True when the release runs the roll or hide action.
  bool MouseUp(const TRect& button, int32_t x, int32_t y);

 private:
  bool FPressed = false;
  bool FTracking = false;
  bool FHot = false;
};

}  // namespace pixvane
