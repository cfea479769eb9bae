#include "host/win32/ExitPlatformWin32.h"

#include <string>

namespace pixvane {

bool TWin32ExitPlatform::OpenDesktopKey() {
  return FKey.Open(HKEY_CURRENT_USER, "Control Panel\\Desktop", KEY_READ);
}

void TWin32ExitPlatform::CloseDesktopKey() {
  FKey.Reset();
}

std::optional<int32_t> TWin32ExitPlatform::ReadUsePassword() {
  // Read as an integer value; a text or missing value cannot be.
  DWORD type = 0, value = 0, size = sizeof value;
  if (!FKey ||
      RegQueryValueExA(FKey.Get(), "ScreenSaveUsePassword", nullptr, &type,
                       reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return std::nullopt;
  return static_cast<int32_t>(value);
}

std::optional<bool> TWin32ExitPlatform::VerifyPassword() {
  char folder[MAX_PATH] = "";
  UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  std::string path(folder, length < MAX_PATH ? length : 0);
  if (!path.empty() && path.back() != '\\') path += '\\';
  TLibrary library((path + "PASSWORD.CPL").c_str());
  using TVerify = BOOL(WINAPI*)(HWND);
  // Through a plain pointer first: the library's symbol has no declared type.
  auto verify =
      reinterpret_cast<TVerify>(reinterpret_cast<void*>(library.Find("VerifyScreenSavePwd")));
  if (!verify) return std::nullopt;
  return verify(FWindow) != FALSE;
}

}  // namespace pixvane
