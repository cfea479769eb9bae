#pragma once
#include <windows.h>

namespace pixvane {

class TSkinControlWindow;

// The answer to WM_GETOBJECT for a skinned control's client area: an object
// with the control's role, name, state, keyboard shortcut, place and default
// action, so a screen reader names the check box, says whether it is
// checked and can press it.
LRESULT AnswerAccessibleQuery(TSkinControlWindow& control, WPARAM wParam);

}  // namespace pixvane
