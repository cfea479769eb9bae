#pragma once
#include <windows.h>

#include "package/SSFileLocations.h"

namespace pixvane {

// Which hook watches the input.
enum class TInputHookKind { None, Journal, LowLevel };

// The input hook of the Flash kind: the Flash control takes the screen's
// mouse and keyboard, so a journal-record hook watches the input instead
// and closes the saver window (without a password) on the first event that
// an exit rule allows. Today's systems refuse that hook (Windows 10 allows
// it only to programs with UI access, Windows 11 not at all); then
// low-level mouse and keyboard hooks apply the same rules.
TInputHookKind InstallInputHook(HWND target, const TSSFileLocations& settings);
LRESULT CALLBACK InputHookProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);
void CloseFromHook();

}  // namespace pixvane
