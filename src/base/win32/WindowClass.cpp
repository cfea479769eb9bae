#include "base/win32/WindowClass.h"

namespace pixvane {

void RegisterWindowClass(const char* name, WNDPROC procedure, LPCSTR cursor) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = cursor ? LoadCursorA(nullptr, cursor) : nullptr;
  wc.lpszClassName = name;
  RegisterClassA(&wc);  // fails harmlessly for a name already registered
}

void* WindowObjectPointer(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  return reinterpret_cast<void*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

}  // namespace pixvane
