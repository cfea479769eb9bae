#pragma once
#include <windows.h>

#include "host/ExitRules.h"

namespace pixvane {

// The user's password setting in the registry and the platform's password
// dialog from "PASSWORD.CPL", where this version of the platform has them.
class TWin32ExitPlatform : public TExitPlatform {
 public:
  explicit TWin32ExitPlatform(HWND window) : FWindow(window) {}
  ~TWin32ExitPlatform() override { CloseDesktopKey(); }

  bool OpenDesktopKey() override;
  void CloseDesktopKey() override;
  std::optional<int32_t> ReadUsePassword() override;
  std::optional<bool> VerifyPassword() override;
  void ShowCursor(bool show) override { ::ShowCursor(show ? TRUE : FALSE); }

 private:
  HWND FWindow;
  HKEY FKey = nullptr;
};

}  // namespace pixvane
