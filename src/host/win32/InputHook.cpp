#include "host/win32/InputHook.h"

#include "host/ExitRules.h"

namespace pixvane {
namespace {

// The hook's state is process-wide, as the platform calls the procedure
// without a context of ours.
POINT HookCursorPos{};
HHOOK Hook = nullptr;
HWND HookTarget = nullptr;
const TSSFileLocations* HookSettings = nullptr;

}  // namespace

void InstallInputHook(HWND target, const TSSFileLocations& settings) {
  GetCursorPos(&HookCursorPos);
  HookTarget = target;
  HookSettings = &settings;
  Hook = SetWindowsHookExA(WH_JOURNALRECORD, InputHookProc, GetModuleHandleA(nullptr), 0);
}

LRESULT CALLBACK InputHookProc(int code, WPARAM wParam, LPARAM lParam) {
  const auto* event = reinterpret_cast<const EVENTMSG*>(lParam);
  if (event && HookSettings) {
    POINT cursor = HookCursorPos;
    if (event->message == WM_MOUSEMOVE) GetCursorPos(&cursor);
    if (HookEventCloses(*HookSettings, event->message, cursor.x, cursor.y, HookCursorPos.x,
                        HookCursorPos.y))
      CloseFromHook();
  }
  return 1;
}

void CloseFromHook() {
  if (Hook) UnhookWindowsHookEx(Hook);  // a hook already gone is fine
  Hook = nullptr;
  PostMessageA(HookTarget, WM_CLOSE, 0, 0);
}

}  // namespace pixvane
