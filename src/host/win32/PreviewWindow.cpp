#include "host/win32/PreviewWindow.h"

#include "base/win32/MessagePump.h"
#include "base/win32/ScreenDpi.h"
#include "base/win32/WindowClass.h"
#include "graphics/win32/Dib.h"

namespace pixvane {
namespace {

constexpr char OwnClassName[] = "PixvanePreview";

// A hidden window of our own. Windows does not need it, but Wine's X11
// driver sets a thread up for drawing only when the thread has a window:
// without one, what we draw on the other process's window never reaches the
// screen.
HWND CreateOwnWindow() {
  RegisterWindowClass(OwnClassName);
  return CreateWindowExA(WS_EX_TOOLWINDOW, OwnClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

TWin32PreviewWindow::TWin32PreviewWindow(HWND window)
    : FWindow(window), FOwnWindow(CreateOwnWindow()) {}

TRect TWin32PreviewWindow::WindowRect() {
  RECT rect{};
  GetWindowRect(FWindow, &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

int32_t TWin32PreviewWindow::ScreenPixelsPerInch() {
  return pixvane::ScreenPixelsPerInch();
}

void TWin32PreviewWindow::Draw(const TBitmap& bitmap) {
  TWindowDC dc(FWindow);
  if (dc.Get()) DrawBitmap(dc.Get(), 0, 0, bitmap);
}

void TWin32PreviewWindow::WaitForMessages(uint32_t timeoutMs) {
  ProcessMessages(TQuitMessage::Drop);
  // The window belongs to another process and tells us nothing when it
  // hides; sleep until something of ours arrives or it is time to look again.
  WaitForMessage(timeoutMs);
}

}  // namespace pixvane
