#pragma once
#include <windows.h>

#include <cstdint>

#include "base/win32/Handles.h"
#include "skin/controls/FormFrame.h"
#include "skin/controls/SkinBinding.h"

namespace pixvane {

// The frame of a top-level window painted from the skin's "Form" object:
// the caption with the window's title, borders, the window's shape from the
// object's region, and the system buttons with their press states. The
// window moves by its caption and cannot be resized; the buttons close it,
// open its system menu, roll it up to its caption and down again, or put
// it in the notification area, whose icon brings it back. Without a usable
// skin the window keeps the platform's frame.
//
// The rules of the frame are TFormFrame's; this carries them out on the
// window. The form's window procedure offers every message to HandleMessage
// first.
class TSkinForm : public TSkinHost, private TFramePointer {
 public:
  // icons: the TSkinBorderIcon bits of the buttons the window offers.
  TSkinForm(HWND window, uint32_t icons, HICON icon);
  ~TSkinForm() override;
  TSkinForm(const TSkinForm&) = delete;
  TSkinForm& operator=(const TSkinForm&) = delete;

  void SetSkinManager(TSkinManager* manager);
  bool Skinned() const { return FBinding.Usable(); }
  bool RolledUp() const { return FFrame.RolledUp(); }
  // True when the message was handled, with its result.
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // TSkinHost
  void RepaintObject(TSkinObject&) override { PaintFrame(); }
  bool IsSkinnedForm() const override { return true; }
  uint32_t BorderIcons() const override { return FIcons; }
  void PerformAction(TSkinAction action, TSkinObject& button) override;

  // The message the notification-area icon sends back.
  static constexpr UINT TrayMessage = WM_APP + 41;

 private:
  // TFramePointer
  void CapturePointer() override { SetCapture(FWindow); }
  void ReleasePointer() override { ReleaseCapture(); }
  void WatchPointerLeaving() override;

  void Rebind();
  void LayOut(int width, int height);
  TFrameInsets Insets();
  void PaintFrame();
  LRESULT HitTest(POINT screen);
  void RollUp(bool up);
  void ToTray();
  void FromTray();
  void ShowSystemMenu(TSkinObject& button);
  TPoint WindowPoint(POINT screen) const;

  HWND FWindow;
  uint32_t FIcons;
  HICON FIcon;
  TSkinBinding FBinding{"Form"};
  TFormFrame FFrame{*this};
  DWORD FPlainStyle;  // the platform frame's style bits, given back unskinned
  bool FActive = true;
  bool FInTray = false;
};

}  // namespace pixvane
