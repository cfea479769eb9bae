#include "host/win32/PreviewWindow.h"

#include "host/win32/Handles.h"
#include "transition/win32/Dib.h"

namespace pixvane {

TWin32PreviewWindow::TWin32PreviewWindow(HWND window) : FWindow(window) {
  // A hidden window of our own. Windows does not need it, but Wine's X11
  // driver sets a thread up for drawing only when the thread has a window:
  // without one, what we draw on the other process's window never reaches
  // the screen.
  static ATOM atom = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PixvanePreview";
    return RegisterClassA(&wc);
  }();
  (void)atom;
  FOwnWindow = CreateWindowExA(WS_EX_TOOLWINDOW, "PixvanePreview", "", WS_POPUP, 0, 0, 0, 0,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TWin32PreviewWindow::~TWin32PreviewWindow() {
  if (FOwnWindow) DestroyWindow(FOwnWindow);
}

TRect TWin32PreviewWindow::WindowRect() {
  RECT rect{};
  GetWindowRect(FWindow, &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

void TWin32PreviewWindow::Draw(const TBitmap& bitmap) {
  TWindowDC dc(FWindow);
  if (dc.Get()) DrawBitmap(dc.Get(), 0, 0, bitmap);
}

void TWin32PreviewWindow::WaitForMessages(uint32_t timeoutMs) {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  // The window belongs to another process and tells us nothing when it
  // hides; sleep until something of ours arrives or it is time to look again.
  MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs, QS_ALLINPUT);
}

}  // namespace pixvane
