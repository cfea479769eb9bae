#include "skin/controls/win32/SkinForm.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "skin/SkinBitmap.h"

namespace pixvane {
namespace {

constexpr DWORD FrameStyle = WS_CAPTION | WS_THICKFRAME | WS_DLGFRAME | WS_BORDER;

// A GDI region of ours, owned by the caller (SetWindowRgn takes it over).
HRGN CreateGdiRegion(const TRegion& region) {
  const std::vector<TRect> rects = region.Rects();
  std::vector<char> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  auto* header = reinterpret_cast<RGNDATA*>(data.data());
  header->rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(rects.size()),
                 static_cast<DWORD>(rects.size() * sizeof(RECT)), RECT{}};
  auto* out = reinterpret_cast<RECT*>(header->Buffer);
  for (size_t i = 0; i < rects.size(); ++i)
    out[i] = {rects[i].Left, rects[i].Top, rects[i].Right, rects[i].Bottom};
  const TRect box = region.Bounds();
  header->rdh.rcBound = {box.Left, box.Top, box.Right, box.Bottom};
  return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), header);
}

}  // namespace

TSkinForm::TSkinForm(HWND window, uint32_t icons, HICON icon)
    : FWindow(window),
      FIcons(icons),
      FIcon(icon),
      FPlainStyle(static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)) & FrameStyle) {
  FBinding.Host = this;
  // The engine's announcements reach the frame as the window's messages.
  FBinding.OnChanging = [this] { SendMessageA(FWindow, SkinChangingMessage, 0, 0); };
  FBinding.OnChanged = [this] { SendMessageA(FWindow, SkinChangedMessage, 0, 0); };
}

TSkinForm::~TSkinForm() {
  if (FInTray) FromTray();
}

void TSkinForm::SetSkinManager(TSkinManager* manager) {
  FBinding.SetManager(manager);
  Rebind();
}

// A usable skin takes the platform's frame away; without one it comes back.
void TSkinForm::Rebind() {
  FBinding.Bind();
  FFrame.SetTree(FBinding.Copy());
  LONG_PTR style = GetWindowLongPtrA(FWindow, GWL_STYLE) & ~static_cast<LONG_PTR>(FrameStyle);
  if (!Skinned()) style |= FPlainStyle;
  SetWindowLongPtrA(FWindow, GWL_STYLE, style);
  if (!Skinned()) SetWindowRgn(FWindow, nullptr, TRUE);
  SetWindowPos(FWindow, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TSkinForm::LayOut(int width, int height) {
  char title[256] = "";
  GetWindowTextA(FWindow, title, sizeof title);
  FFrame.LayOut(width, height, title, FActive);
}

// The frame's widths for the window's present size.
TFrameInsets TSkinForm::Insets() {
  RECT window;
  GetWindowRect(FWindow, &window);
  LayOut(window.right - window.left, window.bottom - window.top);
  return FFrame.Insets();
}

void TSkinForm::PaintFrame() {
  if (!Skinned()) return;
  RECT window;
  GetWindowRect(FWindow, &window);
  const int width = window.right - window.left, height = window.bottom - window.top;
  if (width <= 0 || height <= 0) return;
  const TFrameInsets insets = Insets();
  TSkinBitmap image(width, height, OpaquePixel(FBinding.Copy()->Color));
  FBinding.Copy()->PaintTo(image);

  HDC dc = GetWindowDC(FWindow);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, as skin bitmaps are
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  // The client paints itself; only the frame around it is ours.
  ExcludeClipRect(dc, insets.Left, insets.Top, width - insets.Right, height - insets.Bottom);
  SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, image.ScanLine(0), &info,
                    DIB_RGB_COLORS);
  ReleaseDC(FWindow, dc);
}

TPoint TSkinForm::WindowPoint(POINT screen) const {
  RECT window;
  GetWindowRect(FWindow, &window);
  return {screen.x - window.left, screen.y - window.top};
}

// A WM_NCMOUSELEAVE when the pointer leaves the frame, so that the hot
// button goes back to its normal look.
void TSkinForm::WatchPointerLeaving() {
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_NONCLIENT, FWindow, 0};
  TrackMouseEvent(&track);
}

LRESULT TSkinForm::HitTest(POINT screen) {
  POINT origin{0, 0};
  ClientToScreen(FWindow, &origin);
  RECT area;
  GetClientRect(FWindow, &area);
  const TPoint corner = WindowPoint(origin);
  const TRect client{corner.X, corner.Y, corner.X + area.right, corner.Y + area.bottom};
  switch (FFrame.HitTest(WindowPoint(screen), client)) {
    case TFrameHit::Client:
      return HTCLIENT;
    case TFrameHit::SysButton:
      return HTOBJECT;
    case TFrameHit::Caption:
      return HTCAPTION;
    case TFrameHit::Border:
      break;
  }
  return HTBORDER;
}

void TSkinForm::PerformAction(TSkinAction action, TSkinObject& button) {
  switch (action) {
    case sbaClose:
      PostMessageA(FWindow, WM_CLOSE, 0, 0);
      break;
    case sbaMinimize:
      ShowWindow(FWindow, SW_MINIMIZE);
      break;
    case sbaRollUp:
    case sbaRollDown:
      RollUp(action == sbaRollUp);
      break;
    case sbaTray:
      ToTray();
      break;
    case sbaSysMenu:
      ShowSystemMenu(button);
      break;
    default:
      break;  // the dialog offers no other button
  }
}

void TSkinForm::RollUp(bool up) {
  RECT window;
  GetWindowRect(FWindow, &window);
  const int width = window.right - window.left;
  const std::optional<int32_t> height = FFrame.Roll(up, width, window.bottom - window.top);
  if (!height) return;
  SetWindowPos(FWindow, nullptr, 0, 0, width, *height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TSkinForm::ToTray() {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = FWindow;
  data.uID = 1;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = TrayMessage;
  data.hIcon = FIcon ? FIcon : LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  GetWindowTextA(FWindow, data.szTip, sizeof data.szTip);
  if (!Shell_NotifyIconA(NIM_ADD, &data)) return;  // no notification area: stay shown
  FInTray = true;
  FFrame.ForgetHot();
  ShowWindow(FWindow, SW_HIDE);
}

void TSkinForm::FromTray() {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = FWindow;
  data.uID = 1;
  Shell_NotifyIconA(NIM_DELETE, &data);
  FInTray = false;
  ShowWindow(FWindow, SW_SHOW);
  SetForegroundWindow(FWindow);
}

// The window's system menu under its button; what is chosen acts as it
// would from the platform's frame.
void TSkinForm::ShowSystemMenu(TSkinObject& button) {
  HMENU menu = GetSystemMenu(FWindow, FALSE);
  if (!menu) return;
  RECT window;
  GetWindowRect(FWindow, &window);
  const UINT command =
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTBUTTON, window.left + button.Left(),
                     window.top + button.BoundsRect().Bottom, 0, FWindow, nullptr);
  if (command) PostMessageA(FWindow, WM_SYSCOMMAND, command, 0);
}

bool TSkinForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == SkinChangingMessage) {
    FBinding.Release();
    FFrame.SetTree(nullptr);
    return true;
  }
  if (message == SkinChangedMessage) {
    Rebind();
    return true;
  }
  if (message == TrayMessage) {
    if (lParam == WM_LBUTTONUP || lParam == WM_LBUTTONDBLCLK || lParam == WM_RBUTTONUP) FromTray();
    return true;
  }
  if (!Skinned()) return false;
  const POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_NCCALCSIZE: {
      auto* rect = reinterpret_cast<RECT*>(lParam);  // the first rectangle either way
      const RECT window = *rect;
      const TFrameInsets insets = Insets();
      rect->left = window.left + insets.Left;
      rect->top = window.top + insets.Top;
      rect->right = std::max(rect->left, window.right - insets.Right);
      rect->bottom = std::max(rect->top, window.bottom - insets.Bottom);
      result = 0;
      return true;
    }
    case WM_SIZE: {
      RECT window;
      GetWindowRect(FWindow, &window);
      LayOut(window.right - window.left, window.bottom - window.top);
      SetWindowRgn(FWindow, CreateGdiRegion(FBinding.Copy()->MakeRegion()), TRUE);
      return false;
    }
    case WM_NCPAINT:
      PaintFrame();
      return true;
    case WM_NCACTIVATE:
      FActive = wParam != FALSE;
      PaintFrame();
      result = TRUE;
      return true;
    case WM_SETTEXT:
      result = DefWindowProcA(FWindow, message, wParam, lParam);
      PaintFrame();
      return true;
    case WM_NCHITTEST:
      result = HitTest(screen);
      return true;
    case WM_NCMOUSEMOVE:
      FFrame.PointerMoved(WindowPoint(screen));
      return wParam == HTOBJECT;
    case WM_NCMOUSELEAVE:
      FFrame.PointerMoved({-1, -1});
      return true;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wParam != HTOBJECT) return false;
      FFrame.Press(WindowPoint(screen), message == WM_NCLBUTTONDBLCLK);
      return true;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: {
      if (!FFrame.Pressing()) return false;
      POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(FWindow, &at);
      if (message == WM_LBUTTONUP)
        FFrame.Release(WindowPoint(at));
      else
        FFrame.Drag(WindowPoint(at));
      return true;
    }
    case WM_CAPTURECHANGED:
      FFrame.PressLost();
      return false;
  }
  return false;
}

}  // namespace pixvane
