#pragma once
#include <windows.h>

#include "base/win32/Handles.h"
#include "host/ExitRules.h"

namespace pixvane {

// The user's password setting in the registry and the platform's password
// dialog from "PASSWORD.CPL", where this version of the platform has them.
class TWin32ExitPlatform : public TExitPlatform {
 public:
  explicit TWin32ExitPlatform(HWND window) : FWindow(window) {}

  bool OpenDesktopKey() override;
  void CloseDesktopKey() override;
  std::optional<int32_t> ReadUsePassword() override;
  std::optional<bool> VerifyPassword() override;
  void ShowCursor(bool show) override { ::ShowCursor(show ? TRUE : FALSE); }

 private:
  HWND FWindow;
  TRegistryKey FKey;
};

}  // namespace pixvane
