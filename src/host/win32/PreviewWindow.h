#pragma once
#include <windows.h>

#include "base/win32/Handles.h"
#include "host/Preview.h"

namespace pixvane {

// The display settings' preview window, seen from our process.
class TWin32PreviewWindow : public TPreviewWindow {
 public:
  explicit TWin32PreviewWindow(HWND window);

  bool Exists() override { return IsWindow(FWindow) != FALSE; }
  bool IsVisible() override { return IsWindowVisible(FWindow) != FALSE; }
  TRect WindowRect() override;
  int32_t ScreenWidth() override { return GetSystemMetrics(SM_CXSCREEN); }
  int32_t ScreenPixelsPerInch() override;
  void Draw(const TBitmap& bitmap) override;
  void WaitForMessages(uint32_t timeoutMs) override;

 private:
  HWND FWindow;
  TWindowHandle FOwnWindow;
};

}  // namespace pixvane
