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

}  // namespace pixvane
