#pragma once
#include "skin/controls/win32/SkinControlWindow.h"

namespace pixvane {

// The skinned panel's window as the setup dialog uses it: a container of
// controls without a caption bar or caption button, drawn from the skin's
// "Panel" frame, or as a raised bevel (when shown) in the plain look. Its
// children see its image as their background, and their notifications go
// on to its parent.
class TSkinPanelWindow : public TSkinControlWindow {
 public:
  TSkinPanelWindow(HWND parent, int id, bool showBevel);

  long AccessibleRole() const override;
  long AccessibleState() const override;
  const wchar_t* DefaultActionName() const override { return L""; }
  void DoDefaultAction() override {}

 protected:
  void Paint(HDC dc, const RECT& client) override;
  void PaintSkin(TSkinBitmap& image, const RECT& client) override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool FShowBevel;
};

}  // namespace pixvane
