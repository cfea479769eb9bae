#include "host/win32/Monitors.h"

#include "base/win32/ScreenDpi.h"

namespace pixvane {
namespace {

// MDT_EFFECTIVE_DPI of GetDpiForMonitor, which Windows has from 8.1 on.
using TGetDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

struct TEnumeration {
  TPoint Origin;
  TGetDpiForMonitor GetDpi = nullptr;
  int SystemDpi = 96;
  std::vector<TMonitor> Monitors;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT rect, LPARAM data) {
  auto& enumeration = *reinterpret_cast<TEnumeration*>(data);
  UINT dpiX = 0, dpiY = 0;
  int dpi = enumeration.SystemDpi;
  if (enumeration.GetDpi && SUCCEEDED(enumeration.GetDpi(monitor, 0, &dpiX, &dpiY)) && dpiY > 0)
    dpi = static_cast<int>(dpiY);
  const TRect bounds{rect->left, rect->top, rect->right, rect->bottom};
  enumeration.Monitors.push_back(
      {bounds.Offset(-enumeration.Origin.X, -enumeration.Origin.Y), dpi});
  return TRUE;
}

}  // namespace

TRect VirtualScreen() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
          top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

std::vector<TMonitor> ScreenMonitors(TPoint origin) {
  TEnumeration enumeration{origin, nullptr, ScreenPixelsPerInch(), {}};
  // Loaded by name: older systems have one resolution for all monitors.
  HMODULE shcore = LoadLibraryA("shcore.dll");
  if (shcore)
    enumeration.GetDpi = reinterpret_cast<TGetDpiForMonitor>(
        reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")));
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&enumeration));
  if (shcore) FreeLibrary(shcore);
  if (enumeration.Monitors.empty()) {
    const TRect screen = VirtualScreen();
    enumeration.Monitors.push_back({screen.Offset(-origin.X, -origin.Y), enumeration.SystemDpi});
  }
  return enumeration.Monitors;
}

}  // namespace pixvane
