#pragma once
#include "skin/controls/ButtonBehaviour.h"
#include "skin/controls/win32/SkinCaptionWindow.h"

namespace pixvane {

// The skinned push button's window.
class TSkinButtonWindow : public TSkinCaptionWindow {
 public:
  // isDefault: the form's default button, which Enter clicks.
  TSkinButtonWindow(HWND parent, int id, bool isDefault);

  long AccessibleRole() const override;
  long AccessibleState() const override;
  const wchar_t* DefaultActionName() const override { return L"Press"; }
  void DoDefaultAction() override { NotifyClick(); }

 protected:
  void Paint(HDC dc, const RECT& client) override;
  void PaintSkin(TSkinBitmap& image, const RECT& client) override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  int32_t StateNumber() const override;
  void PaintCaption(HDC dc, const RECT& client) override;

 private:
  bool ShownPressed() const { return FBehaviour.Pressed() || FFlashPressed; }

  TButtonBehaviour FBehaviour;
  bool FFlashPressed = false;  // BM_SETSTATE: pressed for a moment by the keyboard
};

}  // namespace pixvane
