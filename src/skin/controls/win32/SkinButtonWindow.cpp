#include "skin/controls/win32/SkinButtonWindow.h"

#include <oleacc.h>

#include "skin/SkinPaint.h"
#include "skin/controls/ControlLayout.h"
#include "skin/controls/win32/ControlCaption.h"

namespace pixvane {

TSkinButtonWindow::TSkinButtonWindow(HWND parent, int id, bool isDefault)
    : TSkinCaptionWindow("Button") {
  FBehaviour.Default = isDefault;
  FBehaviour.FocusMovedElsewhere(false);  // no control has the focus yet
  Create(parent, id, WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON));
}

long TSkinButtonWindow::AccessibleRole() const {
  return ROLE_SYSTEM_PUSHBUTTON;
}

long TSkinButtonWindow::AccessibleState() const {
  long state = TSkinControlWindow::AccessibleState();
  if (ShownPressed()) state |= STATE_SYSTEM_PRESSED;
  if (FBehaviour.DefaultLook()) state |= STATE_SYSTEM_DEFAULT;
  if (FBehaviour.Hot()) state |= STATE_SYSTEM_HOTTRACKED;
  return state;
}

// The plain look: the platform's push button face, a dark rim while it is
// the one Enter clicks, the caption centred and a focus mark inside.
void TSkinButtonWindow::Paint(HDC dc, const RECT& client) {
  RECT face = client;
  if (FBehaviour.DefaultLook()) {
    FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&face, -1, -1);
  }
  UINT state = DFCS_BUTTONPUSH | (ShownPressed() ? DFCS_PUSHED : 0) |
               (Enabled() ? 0 : DFCS_INACTIVE) | (FBehaviour.Hot() ? DFCS_HOT : 0);
  DrawFrameControl(dc, &face, DFC_BUTTON, state);
  SetTextColor(dc, GetSysColor(Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  PaintCaption(dc, client);
}

int32_t TSkinButtonWindow::StateNumber() const {
  return FFlashPressed && Enabled() ? StatePressed : FBehaviour.StateNumber();
}

// The skin's face ("Face", else the whole object) in the state's look.
void TSkinButtonWindow::PaintSkin(TSkinBitmap& image, const RECT& client) {
  TSkinObject& face = Binding().PartOrCopy("Face");
  face.SetState(StateNumber());
  face.SetBounds(0, 0, client.right, client.bottom);
  face.Realign();
  face.PaintTo(image);
}

// The caption centred (one pixel down and right while pressed), its access
// key underlined, and the focus mark inside the face.
void TSkinButtonWindow::PaintCaption(HDC dc, const RECT& client) {
  std::string caption = Caption();
  const SIZE extent = MeasureCaption(dc, caption, 0);
  TButtonContent content = ButtonContentOf(client.right, client.bottom, extent.cx, extent.cy, 0, 0,
                                           TButtonLayout::blGlyphLeft, 4, ShownPressed());
  RECT text{content.Caption.Left, content.Caption.Top, content.Caption.Right,
            content.Caption.Bottom};
  DrawCaption(dc, text, caption, DT_CENTER);
  if (Focused()) {
    RECT mark = client;
    InflateRect(&mark, -Scaled(4), -Scaled(4));
    DrawFocusRect(dc, &mark);
  }
}

bool TSkinButtonWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_KEYDOWN:
      Apply(FBehaviour.KeyDown(KeyOf(wParam), AltHeld()));
      return true;
    case WM_KEYUP:
      Apply(FBehaviour.KeyUp(KeyOf(wParam), AltHeld()));
      return true;
    case WM_KILLFOCUS: {
      auto* next = FromHandle(reinterpret_cast<HWND>(wParam));
      Apply(FBehaviour.FocusLeft());
      Apply(FBehaviour.FocusMovedElsewhere(dynamic_cast<TSkinButtonWindow*>(next) != nullptr));
      return true;
    }
    case WM_GETDLGCODE:
      result = DLGC_BUTTON | (FBehaviour.DefaultLook() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
      return true;
    case BM_CLICK:  // the access key, or a program pressing the button
      Apply(FBehaviour.Accelerator());
      return true;
    case BM_SETSTATE:
      FFlashPressed = wParam != 0;
      Repaint();
      return true;
    case BM_GETSTATE:
      result = (ShownPressed() ? BST_PUSHED : 0) | (Focused() ? BST_FOCUS : 0);
      return true;
  }
  return RouteInput(FBehaviour, message, wParam, lParam);
}

}  // namespace pixvane
