#include "skin/controls/win32/SkinCheckBoxWindow.h"

#include <oleacc.h>

#include "skin/controls/ControlLayout.h"
#include "skin/controls/win32/ControlCaption.h"

namespace pixvane {

TSkinCheckBoxWindow::TSkinCheckBoxWindow(HWND parent, int id) : TSkinCaptionWindow("CheckBox") {
  FBehaviour.OnClick = [this] {
    Repaint();
    NotifyClick();
  };
  Create(parent, id, WS_TABSTOP | BS_AUTOCHECKBOX);
}

long TSkinCheckBoxWindow::AccessibleRole() const {
  return ROLE_SYSTEM_CHECKBUTTON;
}

long TSkinCheckBoxWindow::AccessibleState() const {
  long state = TSkinControlWindow::AccessibleState();
  if (FBehaviour.Checked()) state |= STATE_SYSTEM_CHECKED;
  if (FBehaviour.State() == TCheckBoxState::cbGrayed) state |= STATE_SYSTEM_MIXED;
  if (FBehaviour.Hot()) state |= STATE_SYSTEM_HOTTRACKED;
  return state;
}

const wchar_t* TSkinCheckBoxWindow::DefaultActionName() const {
  return FBehaviour.Checked() ? L"Uncheck" : L"Check";
}

void TSkinCheckBoxWindow::DoDefaultAction() {
  FBehaviour.SetChecked(!FBehaviour.Checked());
}

// The skin's "Checked" part gives the box its size; the plain box is 13
// pixels a side at 96 DPI.
SIZE TSkinCheckBoxWindow::BoxExtent() const {
  if (Binding().Usable())
    if (TSkinObject* checked = Binding().Part("Checked"))
      return {checked->Width(), checked->Height()};
  return {Scaled(TSkinCheckBoxWindow::BoxSize), Scaled(TSkinCheckBoxWindow::BoxSize)};
}

TCheckBoxContent TSkinCheckBoxWindow::Content(HDC dc, const RECT& client,
                                              const std::string& caption) const {
  const SIZE extent = MeasureCaption(dc, caption, 0);
  const SIZE box = BoxExtent();
  return CheckBoxContentOf(client.right, client.bottom, box.cx, box.cy, Scaled(Spacing), extent.cx,
                           extent.cy);
}

// The plain look: the platform's check box, then the caption.
void TSkinCheckBoxWindow::Paint(HDC dc, const RECT& client) {
  TCheckBoxContent content = Content(dc, client, Caption());
  RECT boxRect{content.Box.Left, content.Box.Top, content.Box.Right, content.Box.Bottom};
  UINT state = DFCS_BUTTONCHECK | DFCS_FLAT | (FBehaviour.Checked() ? DFCS_CHECKED : 0) |
               (FBehaviour.Pressed() ? DFCS_PUSHED : 0) | (Enabled() ? 0 : DFCS_INACTIVE);
  if (FBehaviour.State() != TCheckBoxState::cbGrayed)  // grayed shows no box without a skin's
    DrawFrameControl(dc, &boxRect, DFC_BUTTON, state);
  PaintCaption(dc, client);
}

// The skin's box for the state ("Checked", "Mixed" or "Unchecked"; none
// when the skin lacks it) in the state number's look.
void TSkinCheckBoxWindow::PaintSkin(TSkinBitmap& image, const RECT& client) {
  const char* name = FBehaviour.State() == TCheckBoxState::cbChecked  ? "Checked"
                     : FBehaviour.State() == TCheckBoxState::cbGrayed ? "Mixed"
                                                                      : "Unchecked";
  TSkinObject* box = Binding().Part(name);
  if (!box) return;
  const SIZE size = BoxExtent();
  box->SetState(FBehaviour.StateNumber());
  box->SetBounds(0, (client.bottom - size.cy) / 2, size.cx, size.cy);
  box->Realign();
  box->PaintTo(image);
}

// After the box and the gap, its access key underlined: embossed when
// disabled, framed in the shadow colour while focused.
void TSkinCheckBoxWindow::PaintCaption(HDC dc, const RECT& client) {
  std::string caption = Caption();
  TCheckBoxContent content = Content(dc, client, caption);
  RECT text{content.Caption.Left, content.Caption.Top, content.Caption.Right,
            content.Caption.Bottom};
  if (Enabled()) {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    DrawCaption(dc, text, caption, 0);
  } else {
    RECT raised = text;
    OffsetRect(&raised, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawCaption(dc, raised, caption, 0);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    DrawCaption(dc, text, caption, 0);
  }
  if (Focused()) {
    RECT mark{content.Focus.Left, content.Focus.Top, content.Focus.Right, content.Focus.Bottom};
    FrameRect(dc, &mark, GetSysColorBrush(COLOR_BTNSHADOW));
  }
}

bool TSkinCheckBoxWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                        LRESULT& result) {
  switch (message) {
    case WM_KEYDOWN:
      Apply(FBehaviour.KeyDown(KeyOf(wParam)));
      return true;
    case WM_KEYUP:
      Apply(FBehaviour.KeyUp(KeyOf(wParam)));
      return true;
    case WM_GETDLGCODE:
      result = DLGC_BUTTON;
      return true;
    case WM_GETFONT:  // bound, the skin's font is the control's: the form sizes it by that
      if (!SkinFont()) return false;
      result = reinterpret_cast<LRESULT>(SkinFont());
      return true;
    case BM_CLICK: {  // the access key
      TControlActions focus;
      focus.TakeFocus = true;
      Apply(focus);
      Apply(FBehaviour.Accelerator());
      return true;
    }
    case BM_GETCHECK:
      result = FBehaviour.Checked()                             ? BST_CHECKED
               : FBehaviour.State() == TCheckBoxState::cbGrayed ? BST_INDETERMINATE
                                                                : BST_UNCHECKED;
      return true;
    case BM_SETCHECK:
      FBehaviour.SetState(wParam == BST_CHECKED         ? TCheckBoxState::cbChecked
                          : wParam == BST_INDETERMINATE ? TCheckBoxState::cbGrayed
                                                        : TCheckBoxState::cbUnchecked);
      return true;
    case BM_GETSTATE:
      result = SendMessageA(Handle(), BM_GETCHECK, 0, 0) | (FBehaviour.Pressed() ? BST_PUSHED : 0) |
               (Focused() ? BST_FOCUS : 0);
      return true;
  }
  return RouteInput(FBehaviour, message, wParam, lParam);
}

}  // namespace pixvane
