#include "skin/controls/win32/SkinControlWindow.h"

#include <oleacc.h>

#include <string_view>

#include "base/win32/ScreenDpi.h"
#include "base/win32/WindowClass.h"
#include "skin/controls/ControlLayout.h"
#include "skin/controls/win32/ControlAccessible.h"

namespace pixvane {
namespace {

constexpr char ClassName[] = "TSkinControl";

}  // namespace

void TSkinControlWindow::Create(HWND parent, int id, DWORD style) {
  RegisterWindowClass(ClassName, WindowProc, IDC_ARROW);
  CreateWindowExA(0, ClassName, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                  this);
}

TSkinControlWindow::~TSkinControlWindow() {
  if (!FWindow) return;
  SetWindowLongPtrA(FWindow, GWLP_USERDATA, 0);
  DestroyWindow(FWindow);
}

TSkinControlWindow* TSkinControlWindow::FromHandle(HWND window) {
  char name[sizeof ClassName + 1] = "";
  if (!IsWindow(window) || !GetClassNameA(window, name, sizeof name) ||
      std::string_view(name) != ClassName)
    return nullptr;
  return reinterpret_cast<TSkinControlWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

std::string TSkinControlWindow::Caption() const {
  int length = GetWindowTextLengthA(FWindow);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(FWindow, text.data(), length + 1)));
  return text;
}

long TSkinControlWindow::AccessibleState() const {
  long state = STATE_SYSTEM_FOCUSABLE;
  if (!Enabled()) state |= STATE_SYSTEM_UNAVAILABLE;
  if (Focused()) state |= STATE_SYSTEM_FOCUSED;
  return state;
}

SIZE TSkinControlWindow::ClientSize() const {
  RECT client;
  GetClientRect(FWindow, &client);
  return {client.right, client.bottom};
}

bool TSkinControlWindow::MouseEntered() {
  if (FMouseInside) return false;
  FMouseInside = true;
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, FWindow, 0};
  TrackMouseEvent(&track);
  return true;
}

int TSkinControlWindow::Scaled(int pixels) const {
  return MulDiv(pixels, static_cast<int>(WindowDpi(FWindow)), 96);
}

TControlKey TSkinControlWindow::KeyOf(WPARAM virtualKey) {
  switch (virtualKey) {
    case VK_SPACE:
      return TControlKey::Space;
    case VK_RETURN:
      return TControlKey::Enter;
    case VK_ESCAPE:
      return TControlKey::Escape;
  }
  return TControlKey::Other;
}

void TSkinControlWindow::Apply(const TControlActions& actions) {
  if (actions.TakeFocus && !Focused()) SetFocus(FWindow);
  if (actions.Capture) SetCapture(FWindow);
  if (actions.ReleaseCapture && GetCapture() == FWindow) ReleaseCapture();
  if (actions.FlashPressed) {
    SendMessageA(FWindow, BM_SETSTATE, TRUE, 0);
    UpdateWindow(FWindow);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    SendMessageA(FWindow, BM_SETSTATE, FALSE, 0);
  }
  if (actions.Repaint) Repaint();
  if (actions.Click) NotifyClick();
}

void TSkinControlWindow::NotifyClick() {
  NotifyWinEvent(EVENT_OBJECT_STATECHANGE, FWindow, OBJID_CLIENT, CHILDID_SELF);
  SendMessageA(GetParent(FWindow), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(FWindow), BN_CLICKED),
               reinterpret_cast<LPARAM>(FWindow));
}

// The parent's background under the control: the control is transparent on
// the form's colour, as the parent paints its own static children.
void TSkinControlWindow::FillParentBackground(HDC dc, const RECT& client) {
  auto brush = reinterpret_cast<HBRUSH>(SendMessageA(GetParent(FWindow), WM_CTLCOLORSTATIC,
                                                     reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(FWindow)));
  FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
}

void TSkinControlWindow::PaintWindow() {
  PAINTSTRUCT paint;
  HDC target = BeginPaint(FWindow, &paint);
  SIZE size = ClientSize();
  if (size.cx > 0 && size.cy > 0) {
    if (!FImage || SkinBitmapNeedsRemaking(FImageSize.cx, FImageSize.cy, size.cx, size.cy)) {
      FImageSize = {SkinBitmapExtent(size.cx), SkinBitmapExtent(size.cy)};
      FImage = TGdiBitmap(CreateCompatibleBitmap(target, FImageSize.cx, FImageSize.cy));
    }
    TMemoryDC image(target);
    TSelection bitmap(image.Get(), FImage.Get());
    RECT client{0, 0, size.cx, size.cy};
    FillParentBackground(image.Get(), client);
    TSelection font(image.Get(), FFont ? FFont : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(image.Get(), TRANSPARENT);
    Paint(image.Get(), client);
    BitBlt(target, 0, 0, size.cx, size.cy, image.Get(), 0, 0, SRCCOPY);
  }
  EndPaint(FWindow, &paint);
}

LRESULT CALLBACK TSkinControlWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
  auto* control = WindowObject<TSkinControlWindow>(window, message, lParam);
  if (!control) return DefWindowProcA(window, message, wParam, lParam);
  // Messages come before CreateWindowEx returns, and after the window is gone
  // none may reach the control.
  if (message == WM_NCCREATE) control->FWindow = window;
  if (message == WM_NCDESTROY) control->FWindow = nullptr;
  if (!control->FWindow) return DefWindowProcA(window, message, wParam, lParam);
  return control->Dispatch(message, wParam, lParam);
}

LRESULT TSkinControlWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleMessage(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_PAINT:
      PaintWindow();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the image covers every pixel
    case WM_SETFONT:
      FFont = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) Repaint();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(FFont);
    case WM_SETTEXT: {
      LRESULT done = DefWindowProcA(FWindow, message, wParam, lParam);
      Repaint();
      NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, FWindow, OBJID_CLIENT, CHILDID_SELF);
      return done;
    }
    case WM_ENABLE:
      Repaint();
      return 0;
    case WM_GETOBJECT:
      if (static_cast<LONG>(lParam) == OBJID_CLIENT) return AnswerAccessibleQuery(*this, wParam);
      break;
  }
  return DefWindowProcA(FWindow, message, wParam, lParam);
}

}  // namespace pixvane
