#pragma once
#include <windowsx.h>

#include "skin/controls/win32/SkinControlWindow.h"

namespace pixvane {

// What the push button and the check box share: a caption drawn in the
// skin's "Text" font and colour while bound, and the pointer, focus and
// enable messages their behaviours answer alike.
class TSkinCaptionWindow : public TSkinControlWindow {
 protected:
  using TSkinControlWindow::TSkinControlWindow;

  // The state number the control's skin objects paint in.
  virtual int32_t StateNumber() const = 0;
  // Draws the caption and the focus mark; the font is selected, and the
  // text colour set for a caption that takes it.
  virtual void PaintCaption(HDC dc, const RECT& client) = 0;
  void Bound() override;
  void PaintSkinText(HDC dc, const RECT& client) override;
  // The skin's caption font while bound; null otherwise.
  HFONT SkinFont() const { return FSkinFont.Get(); }

  // Routes the pointer, focus and enable messages to a behaviour; false for
  // the rest, and for WM_ENABLE, which the shared handling also sees.
  template <typename TBehaviour>
  bool RouteInput(TBehaviour& behaviour, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  TGdiFont FSkinFont;
};

template <typename TBehaviour>
bool TSkinCaptionWindow::RouteInput(TBehaviour& behaviour, UINT message, WPARAM wParam,
                                    LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      Apply(behaviour.MouseDown());
      return true;
    case WM_MOUSEMOVE:
      if (MouseEntered()) Apply(behaviour.MouseEnter());
      // Only a behaviour that follows a held press off and on again asks.
      if constexpr (requires { behaviour.MouseMove(x, y, x, y); }) {
        const SIZE size = ClientSize();
        Apply(behaviour.MouseMove(x, y, size.cx, size.cy));
      }
      return true;
    case WM_MOUSELEAVE:
      MouseLeft();
      Apply(behaviour.MouseLeave());
      return true;
    case WM_LBUTTONUP: {
      const SIZE size = ClientSize();
      Apply(behaviour.MouseUp(x, y, size.cx, size.cy));
      return true;
    }
    case WM_SETFOCUS:
      Apply(behaviour.FocusEntered());
      return true;
    case WM_KILLFOCUS:
      Apply(behaviour.FocusLeft());
      return true;
    case WM_ENABLE:
      behaviour.Enabled = wParam != 0;
      return false;
  }
  return false;
}

}  // namespace pixvane
