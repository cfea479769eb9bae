#pragma once
#include "skin/controls/CheckBoxBehaviour.h"
#include "skin/controls/ControlLayout.h"
#include "skin/controls/win32/SkinCaptionWindow.h"

namespace pixvane {

// The skinned check box's window. Every change of its state, by the user or
// by BM_SETCHECK, tells the parent with BN_CLICKED.
class TSkinCheckBoxWindow : public TSkinCaptionWindow {
 public:
  TSkinCheckBoxWindow(HWND parent, int id);

  long AccessibleRole() const override;
  long AccessibleState() const override;
  const wchar_t* DefaultActionName() const override;
  void DoDefaultAction() override;

  // The box's side at 96 DPI, and the gap between box and caption.
  static constexpr int BoxSize = 13;
  static constexpr int Spacing = 5;

 protected:
  void Paint(HDC dc, const RECT& client) override;
  void PaintSkin(TSkinBitmap& image, const RECT& client) override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  int32_t StateNumber() const override { return FBehaviour.StateNumber(); }
  // In the system's colours: the skin's text colour does not reach it.
  void PaintCaption(HDC dc, const RECT& client) override;

 private:
  SIZE BoxExtent() const;
  TCheckBoxContent Content(HDC dc, const RECT& client, const std::string& caption) const;

  TCheckBoxBehaviour FBehaviour;
};

}  // namespace pixvane
