#pragma once
#include <windows.h>

#include "package/SSFileLocations.h"

namespace pixvane {

// The input hook of the Flash kind: the Flash control takes the screen's
// mouse and keyboard, so a journal-record hook watches the input instead
// and closes the saver window (without a password) on the first event that
// an exit rule allows.
void InstallInputHook(HWND target, const TSSFileLocations& settings);
LRESULT CALLBACK InputHookProc(int code, WPARAM wParam, LPARAM lParam);
void CloseFromHook();

}  // namespace pixvane
