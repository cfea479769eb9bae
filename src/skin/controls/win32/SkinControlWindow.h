#pragma once
#include <windows.h>

#include <string>

#include "base/win32/Handles.h"
#include "skin/SkinBitmap.h"
#include "skin/controls/ControlInput.h"
#include "skin/controls/SkinBinding.h"

namespace pixvane {

// What the skinned button, check box and panel share: a real child window
// whose text is its caption, drawn through an off-screen image that grows in
// steps of 30 pixels, over the parent's image (so the skin's transparent
// pixels show the parent), from its private copy of a skin object while its
// skin engine holds a usable one and in a plain look otherwise. Buttons and
// check boxes answer the platform's button messages (BM_CLICK, BM_GETSTATE,
// WM_GETDLGCODE) so dialog keys, access keys and assistive tools treat them
// as the buttons they look like, and tell their parent of a click with
// WM_COMMAND and BN_CLICKED, as buttons do.
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
  // Binds to the engine (or none) and repaints.
  void SetSkinManager(TSkinManager* manager);

  // For assistive tools: the control's role and state flags (STATE_SYSTEM_*),
  // its default action's name, and that action.
  virtual long AccessibleRole() const = 0;
  virtual long AccessibleState() const;
  virtual const wchar_t* DefaultActionName() const = 0;
  virtual void DoDefaultAction() = 0;

 protected:
  // skinObject: the name of the top-level skin object it draws from.
  explicit TSkinControlWindow(std::string skinObject);
  // Makes the window; called by the control's constructor once it is whole,
  // since the window's first messages already reach its handlers. style: the
  // style bits besides WS_CHILD and WS_VISIBLE; its low word names the
  // standard button kind this control stands for.
  void Create(HWND parent, int id, DWORD style, DWORD exStyle = 0);

  // Draws the plain look into dc, whose size is the client's.
  virtual void Paint(HDC dc, const RECT& client) = 0;
  // With a usable skin: paints the skin objects into image (the parent's
  // image under the control, at least the client's size), then what GDI
  // draws over them (captions, focus marks) into dc, which holds the image.
  virtual void PaintSkin(TSkinBitmap& image, const RECT& client) = 0;
  virtual void PaintSkinText(HDC dc, const RECT& client) {}
  // After each binding, usable or not.
  virtual void Bound() {}
  const TSkinBinding& Binding() const { return FBinding; }
  // A GDI font of a skin font (whose heights are already scaled).
  static TGdiFont FontOf(const TFont& font);
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
  void Render(HDC target);
  void PaintParentImage(HDC dc);
  void PaintSkinImage(HDC dc, const RECT& client);
  void Rebind();
  HBRUSH ChildBackground(HDC dc, HWND child);

  HWND FWindow = nullptr;
  HFONT FFont = nullptr;  // the parent's, given by WM_SETFONT
  TSkinBinding FBinding;
  TGdiBitmap FImage;  // a 32-bit top-down DIB section
  uint32_t* FImageBits = nullptr;
  SIZE FImageSize{0, 0};
  TSkinBitmap FSkinImage;
  TGdiBrush FChildBrush;  // the image as a pattern, made when a child asks
  bool FMouseInside = false;
};

}  // namespace pixvane
