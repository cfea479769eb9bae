#pragma once
#include <windows.h>

#include "base/win32/Handles.h"

namespace pixvane {

// The screen's pixels per logical inch, as its DC reports them; 96, the
// platform's default, when it reports none.
inline int ScreenPixelsPerInch() {
  TWindowDC screen;
  int ppi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
  return ppi > 0 ? ppi : 96;
}

// The DPI of the monitor a window is on. GetDpiForWindow exists from
// Windows 10 on; before that the whole session has one DPI, the one the
// screen's DC reports.
inline UINT WindowDpi(HWND window) {
  using TGetDpiForWindow = UINT(WINAPI*)(HWND);
  static auto getDpiForWindow = reinterpret_cast<TGetDpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow && window) {
    if (UINT dpi = getDpiForWindow(window)) return dpi;
  }
  return static_cast<UINT>(ScreenPixelsPerInch());
}

}  // namespace pixvane
