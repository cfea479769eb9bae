#include "host/win32/Win32Startup.h"

#include "host/win32/SaverWindow.h"

#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <vector>

#include "base/Errors.h"
#include "base/Stream.h"
#include "base/win32/MessagePump.h"
#include "host/win32/PreviewWindow.h"
#include "host/win32/Resources.h"
#include "package/SignedSaver.h"
#include "setup/win32/SetupForm.h"

namespace pixvane {
namespace {

std::string Narrow(const wchar_t* text) {
  int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return {};
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), length, nullptr, nullptr);
  narrow.resize(static_cast<size_t>(length) - 1);
  return narrow;
}

// The caption of every message of the player, the setup dialog's and the
// saver window's: the saver's name, which is its file's name without folder
// and extension ("Beach" for Beach.scr), as the display settings list it.
std::string ApplicationTitle(const std::string& exePath) {
  size_t slash = exePath.find_last_of("\\/:");
  std::string name = slash == std::string::npos ? exePath : exePath.substr(slash + 1);
  size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

HWND WindowFromArgument(const std::string& argument) {
  auto value = ParseWindowHandle(argument);
  if (!value) throw EError("'" + argument + "' is not a valid integer value");
  return HandleFromValue(*value);
}

}  // namespace

std::string ModuleFileName() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);  // cut short: try a bigger buffer
  }
}

TWin32Startup::TWin32Startup() : FExePath(ModuleFileName()) {}

TClockTime TWin32Startup::UniversalTime() {
  SYSTEMTIME now;
  GetSystemTime(&now);
  return {now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

TCommandLine TWin32Startup::Arguments() {
  TCommandLine arguments;
  int count = 0;
  LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!list) return arguments;
  if (count > 1) arguments.First = Narrow(list[1]);
  if (count > 2) arguments.Second = Narrow(list[2]);
  LocalFree(list);
  return arguments;
}

void TWin32Startup::ChangePassword(const TCommandLine& commandLine) {
  char folder[MAX_PATH];
  UINT length = GetSystemDirectoryA(folder, sizeof folder);
  if (length >= sizeof folder) length = 0;  // did not fit: no folder rather than a wrong one
  TLibrary library(PasswordLibraryPath(std::string(folder, length)).c_str());
  if (!library) return;
  // Not every version of the platform has it; without it there is nothing to do.
  using TPwdChangePassword = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, DWORD);
  auto change = reinterpret_cast<TPwdChangePassword>(
      reinterpret_cast<void*>(library.Find("PwdChangePasswordA")));
  if (!change) return;
  change("SCRSAVE", WindowFromArgument(commandLine.Second), 0, 0);
}

bool TWin32Startup::AcquireInstanceMarker() {
  const std::string name = InstanceMarkerName(FExePath);
  HANDLE marker = CreateSemaphoreA(nullptr, 0, 1, name.c_str());
  DWORD error = GetLastError();
  if (marker && error == ERROR_ALREADY_EXISTS) {
    CloseHandle(marker);
    return false;
  }
  FMarker = TKernelHandle(marker);
  return true;
}

void TWin32Startup::ReleaseInstanceMarker() {
  FMarker.Reset();
}

void TWin32Startup::InitializeFramework() {
  FComApartment.emplace();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
}

void TWin32Startup::ProcessMessages() {
  pixvane::ProcessMessages(TQuitMessage::Drop);
}

void TWin32Startup::RunPreview(const TCommandLine& commandLine) {
  TWin32PreviewWindow window(WindowFromArgument(commandLine.Second));
  pixvane::RunPreview(window, [this] { return OpenSaver(FExePath); });
}

void TWin32Startup::RunSetupDialog() {
  HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IdMainIcon));
  TSetupForm form(FExePath, ApplicationTitle(FExePath), icon);
  form.Show();
  RunMessageLoop(
      {.Filter = [&form](MSG& message) { return form.TranslateDialogMessage(message); }});
}

void TWin32Startup::RunSaver(TRandom random) {
  TfrmScrn form(FExePath, ApplicationTitle(FExePath), random);
  form.Run();
}

}  // namespace pixvane
