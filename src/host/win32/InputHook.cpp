#include "host/win32/InputHook.h"

#include "host/ExitRules.h"

namespace pixvane {
namespace {

// The hook's state is process-wide, as the platform calls the procedure
// without a context of ours.
POINT HookCursorPos{};
HHOOK Hook = nullptr;
HHOOK KeyboardHook = nullptr;  // beside Hook when the low-level pair is in
HWND HookTarget = nullptr;
const TSSFileLocations* HookSettings = nullptr;

void RemoveHooks() {
  for (HHOOK* hook : {&Hook, &KeyboardHook}) {
    if (*hook) UnhookWindowsHookEx(*hook);  // a hook already gone is fine
    *hook = nullptr;
  }
}

void CloseOn(UINT message, POINT cursor) {
  if (HookSettings &&
      HookEventCloses(*HookSettings, message, cursor.x, cursor.y, HookCursorPos.x, HookCursorPos.y))
    CloseFromHook();
}

}  // namespace

TInputHookKind InstallInputHook(HWND target, const TSSFileLocations& settings) {
  RemoveHooks();
  GetCursorPos(&HookCursorPos);
  HookTarget = target;
  HookSettings = &settings;
  HINSTANCE module = GetModuleHandleA(nullptr);
  Hook = SetWindowsHookExA(WH_JOURNALRECORD, InputHookProc, module, 0);
  if (Hook) return TInputHookKind::Journal;
  Hook = SetWindowsHookExA(WH_MOUSE_LL, MouseHookProc, module, 0);
  KeyboardHook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHookProc, module, 0);
  return Hook || KeyboardHook ? TInputHookKind::LowLevel : TInputHookKind::None;
}

LRESULT CALLBACK InputHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (const auto* event = reinterpret_cast<const EVENTMSG*>(lParam)) {
    POINT cursor = HookCursorPos;
    if (event->message == WM_MOUSEMOVE) GetCursorPos(&cursor);
    CloseOn(event->message, cursor);
  }
  return 1;
}

// The low-level hooks see input before it reaches any window, and pass it on
// unchanged: they only watch.
LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && lParam)
    CloseOn(static_cast<UINT>(wParam), reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->pt);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
  // A key held with Alt arrives as a system key; it is a key press all the same.
  if (code == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN))
    CloseOn(WM_KEYDOWN, HookCursorPos);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CloseFromHook() {
  RemoveHooks();
  PostMessageA(HookTarget, WM_CLOSE, 0, 0);
}

}  // namespace pixvane
