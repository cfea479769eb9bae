#include "skin/controls/win32/SkinPanelWindow.h"

#include <oleacc.h>

namespace pixvane {

TSkinPanelWindow::TSkinPanelWindow(HWND parent, int id, bool showBevel)
    : TSkinControlWindow("Panel"), FShowBevel(showBevel) {
  // Dialog keys look for tab stops inside it.
  Create(parent, id, 0, WS_EX_CONTROLPARENT);
}

long TSkinPanelWindow::AccessibleRole() const {
  return ROLE_SYSTEM_GROUPING;
}

long TSkinPanelWindow::AccessibleState() const {
  return Enabled() ? 0 : STATE_SYSTEM_UNAVAILABLE;
}

void TSkinPanelWindow::Paint(HDC dc, const RECT& client) {
  if (!FShowBevel) return;  // transparent: the parent's image is all it shows
  RECT bevel = client;
  DrawEdge(dc, &bevel, BDR_RAISEDINNER, BF_RECT);
}

// The skin's "Frame" over the whole panel.
void TSkinPanelWindow::PaintSkin(TSkinBitmap& image, const RECT& client) {
  TSkinObject* frame = Binding().Part("Frame");
  if (!frame) return;
  frame->SetState(Enabled() ? StateNormal : StateDisabled);
  frame->SetBounds(0, 0, client.right, client.bottom);
  frame->Realign();
  frame->PaintTo(image);
}

bool TSkinPanelWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message != WM_COMMAND && message != WM_DRAWITEM) return false;
  result = SendMessageA(GetParent(Handle()), message, wParam, lParam);
  return true;
}

}  // namespace pixvane
