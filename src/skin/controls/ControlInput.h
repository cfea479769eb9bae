#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "skin/SkinTypes.h"  // the state numbers a skin object paints in

namespace pixvane {

// What a skinned control's window must do after an input event. The
// behaviours below decide; the window only carries it out, so every rule
// can be held natively.
struct TControlActions {
  bool Repaint = false;
  bool Click = false;  // the control's click: modal result, OnClick
  bool TakeFocus = false;
  bool Capture = false;  // capture the mouse
  bool ReleaseCapture = false;
  bool ConsumeKey = false;    // the key goes no further
  bool FlashPressed = false;  // show pressed, process what waits, show released

  friend bool operator==(const TControlActions&, const TControlActions&) = default;
};

// The most common answer: only the look changed.
inline TControlActions RepaintOnly() {
  TControlActions actions;
  actions.Repaint = true;
  return actions;
}

// The keys the controls answer; every other key is Other.
enum class TControlKey { Space, Enter, Escape, Other };

// A caption as it is shown: "&x" marks x as the access key, "&&" is a
// literal ampersand, a lone "&" at the end shows nothing.
struct TCaptionMarks {
  std::string Shown;
  int Mark = -1;  // the index in Shown of the first marked character; -1 for none
};
TCaptionMarks CaptionMarks(std::string_view caption);

// The character a caption marks ("&Ok" marks O), upper-cased, or 0 when it
// marks none.
char AcceleratorOf(std::string_view caption);

// True when the key pressed with Alt (or alone in a dialog) is the caption's mark.
bool IsAccelerator(std::string_view caption, char key);

}  // namespace pixvane
