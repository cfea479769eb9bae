#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "graphics/Geometry.h"
#include "skin/SkinObject.h"

namespace pixvane {

// What the frame asks of its window while a system button is pressed: the
// pointer's capture, and word when the pointer leaves the frame.
class TFramePointer {
 public:
  virtual ~TFramePointer() = default;
  virtual void CapturePointer() = 0;
  virtual void ReleasePointer() = 0;
  virtual void WatchPointerLeaving() = 0;
};

// What lies under a point of the window.
enum class TFrameHit { Client, SysButton, Caption, Border };

// The widths of the frame around the client, in pixels.
struct TFrameInsets {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const TFrameInsets&, const TFrameInsets&) = default;
};

// The rules of a skinned form's frame, apart from the window that shows it:
// the layout of the skin's "Form" tree for the window's size and state, what
// a point hits, rolling up to the caption strip and down again, and which
// system button shows hot or pressed while the pointer moves and a press is
// held. Points are in window coordinates (the frame's top-left is 0, 0).
class TFormFrame {
 public:
  explicit TFormFrame(TFramePointer& pointer) : FPointer(pointer) {}

  // The tree to work on (none while the skin is unusable); forgets any
  // button under the pointer and any press.
  void SetTree(TSkinObject* form);
  TSkinObject* Tree() const { return FTree; }
  bool RolledUp() const { return FRestoreHeight != 0; }

  // Lays the tree out for a window of width x height: the title in its
  // caption, active or not, and the window state its system buttons show for.
  void LayOut(int32_t width, int32_t height, const std::string& title, bool active);
  // Of the laid-out tree: the skin's client part, or only the caption strip
  // while rolled up or when the skin has no client part.
  TFrameInsets Insets() const;
  // client: the client area in window coordinates. The borders do not
  // resize the window; only the top strip moves it.
  TFrameHit HitTest(TPoint at, const TRect& client) const;

  // The height the window takes to roll up (the caption strip of the tree
  // laid out at its present size) or down (the height it had); none when it
  // already is so. Forgets the button under the pointer.
  std::optional<int32_t> Roll(bool up, int32_t width, int32_t height);
  // The window went away (to the notification area): no button is hot.
  void ForgetHot() { FHot = nullptr; }

  // The pointer over the frame with no press held: the button under it
  // shows hot; at (-1, -1) it has left the frame.
  void PointerMoved(TPoint at);
  // The left button went down; doubleClick for the second press of a double
  // click. True when a system button took the press, which then holds the
  // pointer until it is released.
  bool Press(TPoint at, bool doubleClick);
  bool Pressing() const { return FPressing; }
  // With the press held: off the button it shows up, back on it pressed.
  void Drag(TPoint at);
  // The press ends: over its button, the button acts (which may close or
  // roll the window); elsewhere, the button under the pointer shows hot.
  void Release(TPoint at);
  // The window lost the pointer's capture.
  void PressLost() { FPressing = false; }

 private:
  // The state, bounds and layout for the size; the texts stay as they are.
  void Place(int32_t width, int32_t height);
  TSkinObject* ButtonAt(TPoint at) const;
  void Track(TPoint at, bool leftHeld);

  TFramePointer& FPointer;
  TSkinObject* FTree = nullptr;
  int32_t FRestoreHeight = 0;   // the height before rolling up; 0 unrolled
  TSkinObject* FHot = nullptr;  // the system button under the pointer
  bool FPressing = false;       // the left button went down on FHot
};

}  // namespace pixvane
