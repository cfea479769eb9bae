#pragma once
#include <windows.h>

namespace pixvane {

// Registers a window class of this program: name, its window procedure and
// the system cursor shown over its windows (none: the window sets its own).
// A name registered before stays as it is, so every window's constructor
// may call this.
void RegisterWindowClass(const char* name, WNDPROC procedure = DefWindowProcA,
                         LPCSTR cursor = nullptr);

// The object that a window procedure forwards to: the one given as
// CreateWindowEx's last argument, kept with the window from WM_NCCREATE on.
// Null before that and for a window created without one.
void* WindowObjectPointer(HWND window, UINT message, LPARAM lParam);

template <typename TObject>
TObject* WindowObject(HWND window, UINT message, LPARAM lParam) {
  return static_cast<TObject*>(WindowObjectPointer(window, message, lParam));
}

}  // namespace pixvane
