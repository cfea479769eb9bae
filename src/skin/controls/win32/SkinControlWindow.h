#pragma once
#include <windows.h>

#include <string>

#include "base/win32/Handles.h"
#include "skin/controls/ControlInput.h"

namespace pixvane {

// What a skinned button and check box share: a real child window whose text
// is its caption, drawn through an off-screen image that grows in steps of
// 30 pixels, on the parent's background, with the platform's button
// messages (BM_CLICK, BM_GETSTATE, WM_GETDLGCODE) so dialog keys, access
// keys and assistive tools treat it as the button it looks like. It tells
// its parent of a click with WM_COMMAND and BN_CLICKED, as buttons do.
class TSkinControlWindow {
 public:
  virtual ~TSkinControlWindow();
  TSkinControlWindow(const TSkinControlWindow&) = delete;
  TSkinControlWindow& operator=(const TSkinControlWindow&) = delete;

  HWND Handle() const { return FWindow; }
  // The control behind a window of ours; null for any other window and once
  // the control is gone.
  static TSkinControlWindow* FromHandle(HWND window);
  std::string Caption() const;

  // For assistive tools: the control's role and state flags (STATE_SYSTEM_*),
  // its default action's name, and that action.
  virtual long AccessibleRole() const = 0;
  virtual long AccessibleState() const;
  virtual const wchar_t* DefaultActionName() const = 0;
  virtual void DoDefaultAction() = 0;

 protected:
  TSkinControlWindow() = default;
  // Makes the window; called by the control's constructor once it is whole,
  // since the window's first messages already reach its handlers. style: the
  // style bits besides WS_CHILD and WS_VISIBLE; its low word names the
  // standard button kind this control stands for.
  void Create(HWND parent, int id, DWORD style);

  // Draws the whole control into dc, whose size is the client's.
  virtual void Paint(HDC dc, const RECT& client) = 0;
  // The control's own messages; false to let the shared handling run.
  virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;

  void Apply(const TControlActions& actions);
  void NotifyClick();
  void Repaint() { InvalidateRect(FWindow, nullptr, FALSE); }
  bool Enabled() const { return IsWindowEnabled(FWindow) != FALSE; }
  bool Focused() const { return GetFocus() == FWindow; }
  HFONT Font() const { return FFont; }
  SIZE ClientSize() const;
  static TControlKey KeyOf(WPARAM virtualKey);
  static bool AltHeld() { return GetKeyState(VK_MENU) < 0; }
  // On WM_MOUSEMOVE: true the first time the pointer is over the control,
  // which then gets a WM_MOUSELEAVE when it goes (and calls MouseLeft).
  bool MouseEntered();
  void MouseLeft() { FMouseInside = false; }
  int Scaled(int pixels) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void PaintWindow();
  void FillParentBackground(HDC dc, const RECT& client);

  HWND FWindow = nullptr;
  HFONT FFont = nullptr;  // the parent's, given by WM_SETFONT
  TGdiBitmap FImage;
  SIZE FImageSize{0, 0};
  bool FMouseInside = false;
};

}  // namespace pixvane
