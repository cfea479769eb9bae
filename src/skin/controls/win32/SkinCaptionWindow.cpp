#include "skin/controls/win32/SkinCaptionWindow.h"

#include "skin/SkinPaint.h"

namespace pixvane {

void TSkinCaptionWindow::Bound() {
  FSkinFont = Binding().Usable() ? FontOf(Binding().PartOrCopy("Text").GetFont()) : TGdiFont();
}

// The skin's "Text" part (else the whole object) gives the state's font
// colour; a disabled caption is grey.
void TSkinCaptionWindow::PaintSkinText(HDC dc, const RECT& client) {
  TSkinObject& text = Binding().PartOrCopy("Text");
  text.SetState(StateNumber());
  TSelection font(dc, FSkinFont ? FSkinFont.Get() : Font());
  SetTextColor(dc, Enabled() ? ColorToRgb(text.GetFont().Color) : GetSysColor(COLOR_GRAYTEXT));
  PaintCaption(dc, client);
}

}  // namespace pixvane
