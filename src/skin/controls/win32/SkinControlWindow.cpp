#include "skin/controls/win32/SkinControlWindow.h"

#include <oleacc.h>

#include <cstring>
#include <string_view>

#include "base/win32/ScreenDpi.h"
#include "base/win32/WindowClass.h"
#include "skin/SkinPaint.h"
#include "skin/controls/ControlLayout.h"
#include "skin/controls/win32/ControlAccessible.h"

namespace pixvane {
namespace {

constexpr char ClassName[] = "TSkinControl";

}  // namespace

TSkinControlWindow::TSkinControlWindow(std::string skinObject) : FBinding(std::move(skinObject)) {
  // The engine and the skin tree speak to the window by its messages, so
  // that a change announced in the middle of other work is handled in turn.
  auto send = [this](uint32_t message) {
    return [this, message] {
      auto manager = reinterpret_cast<LPARAM>(FBinding.Manager());
      if (FWindow) SendMessageA(FWindow, message, static_cast<WPARAM>(manager), manager);
    };
  };
  FBinding.OnChanging = send(SkinChangingMessage);
  FBinding.OnChanged = send(SkinChangedMessage);
  FBinding.OnRepaint = send(SkinRepaintMessage);
}

void TSkinControlWindow::Create(HWND parent, int id, DWORD style, DWORD exStyle) {
  RegisterWindowClass(ClassName, WindowProc, IDC_ARROW);
  CreateWindowExA(exStyle, ClassName, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
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

void TSkinControlWindow::SetSkinManager(TSkinManager* manager) {
  FBinding.SetManager(manager);
  Bound();
  Repaint();
}

void TSkinControlWindow::Rebind() {
  FBinding.Bind();
  Bound();
  Repaint();
}

TGdiFont TSkinControlWindow::FontOf(const TFont& font) {
  return TGdiFont(CreateFontA(font.Height, 0, 0, 0, (font.Style & fsBold) ? FW_BOLD : FW_NORMAL,
                              (font.Style & fsItalic) != 0, (font.Style & fsUnderline) != 0,
                              (font.Style & fsStrikeOut) != 0, static_cast<BYTE>(font.Charset),
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH, font.Name.c_str()));
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

// The parent's image under the control: the parent erases its background
// and paints its client into dc as if dc were its own, moved so that the
// control's corner is at dc's origin. A skinned parent paints its own image
// there, so transparent pixels show whatever lies beneath.
void TSkinControlWindow::PaintParentImage(HDC dc) {
  HWND parent = GetParent(FWindow);
  POINT corner{0, 0};
  MapWindowPoints(FWindow, parent, &corner, 1);
  POINT old;
  SetViewportOrgEx(dc, -corner.x, -corner.y, &old);
  if (!SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0)) {
    RECT client{0, 0, FImageSize.cx, FImageSize.cy};
    OffsetRect(&client, corner.x, corner.y);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  }
  SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

// The skin objects paint into a skin bitmap over the parent's image; its
// pixels are the DIB's, both 32-bit top-down rows of the same width.
void TSkinControlWindow::PaintSkinImage(HDC dc, const RECT& client) {
  GdiFlush();
  if (FSkinImage.Width() != FImageSize.cx || FSkinImage.Height() != FImageSize.cy)
    FSkinImage.SetSize(FImageSize.cx, FImageSize.cy);
  const size_t pixels = static_cast<size_t>(FImageSize.cx) * FImageSize.cy;
  // GDI leaves alpha 0; opaque pixels can never be taken for the skin's
  // transparent key.
  TSkinPixel* skin = FSkinImage.ScanLine(0);
  for (size_t i = 0; i < pixels; ++i) skin[i] = FImageBits[i] | 0xFF000000u;
  PaintSkin(FSkinImage, client);
  std::memcpy(FImageBits, skin, pixels * sizeof(TSkinPixel));
  PaintSkinText(dc, client);
}

void TSkinControlWindow::Render(HDC target) {
  SIZE size = ClientSize();
  if (size.cx <= 0 || size.cy <= 0) return;
  if (!FImage || SkinBitmapNeedsRemaking(FImageSize.cx, FImageSize.cy, size.cx, size.cy)) {
    FImageSize = {SkinBitmapExtent(size.cx), SkinBitmapExtent(size.cy)};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = FImageSize.cx;
    info.bmiHeader.biHeight = -FImageSize.cy;  // top-down, as skin bitmaps are
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    FImage = TGdiBitmap(CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    FImageBits = static_cast<uint32_t*>(bits);
  }
  if (!FImage) return;
  TMemoryDC image(target);
  TSelection bitmap(image.Get(), FImage.Get());
  PaintParentImage(image.Get());
  RECT client{0, 0, size.cx, size.cy};
  TSelection font(image.Get(), FFont ? FFont : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(image.Get(), TRANSPARENT);
  if (FBinding.Usable())
    PaintSkinImage(image.Get(), client);
  else
    Paint(image.Get(), client);
  BitBlt(target, 0, 0, size.cx, size.cy, image.Get(), 0, 0, SRCCOPY);
  FChildBrush = TGdiBrush();
}

// A child of ours (a label) fills its background with our image at its
// place, so it looks transparent on the skin; its colours are the form's.
HBRUSH TSkinControlWindow::ChildBackground(HDC dc, HWND child) {
  if (!FImage) return nullptr;
  if (!FChildBrush) FChildBrush = TGdiBrush(CreatePatternBrush(FImage.Get()));
  POINT corner{0, 0};
  MapWindowPoints(child, FWindow, &corner, 1);
  SetBrushOrgEx(dc, -corner.x, -corner.y, nullptr);
  SetBkMode(dc, TRANSPARENT);
  return FChildBrush.Get();
}

void TSkinControlWindow::PaintWindow() {
  PAINTSTRUCT paint;
  HDC target = BeginPaint(FWindow, &paint);
  Render(target);
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
    case WM_PRINTCLIENT:  // a child asks for the image beneath it
      Render(reinterpret_cast<HDC>(wParam));
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
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SendMessageA(GetParent(FWindow), message, wParam, lParam);
      return reinterpret_cast<LRESULT>(
          ChildBackground(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case SkinChangingMessage:
      if (lParam == reinterpret_cast<LPARAM>(FBinding.Manager())) FBinding.Release();
      return 0;
    case SkinChangedMessage:
      if (lParam == reinterpret_cast<LPARAM>(FBinding.Manager())) Rebind();
      return 0;
    case SkinRepaintMessage:
      Repaint();
      return 0;
    case WM_GETOBJECT:
      if (static_cast<LONG>(lParam) == OBJID_CLIENT) return AnswerAccessibleQuery(*this, wParam);
      break;
  }
  return DefWindowProcA(FWindow, message, wParam, lParam);
}

}  // namespace pixvane
