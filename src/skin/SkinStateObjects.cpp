#include "skin/SkinStateObjects.h"

#include "skin/SkinHue.h"
#include "skin/SkinPaint.h"
#include "skin/SkinText.h"

namespace pixvane {

void TActiveObject::DefinePublished(TPropertyList& p) {
  TSkinObject::DefinePublished(p);
  p.Integer("ActiveColor", ActiveColor, &ColorIdents);
  p.Object("ActiveFont", ActiveFont);
}

void TActiveObject::ShiftHue(int32_t delta) {
  TSkinObject::ShiftHue(delta);
  ActiveColor = ShiftColorHue(ActiveColor, delta);
  ActiveFont.Color = ShiftColorHue(ActiveFont.Color, delta);
}

void TActiveSkinObject::Light(int32_t state) {
  SetState(state);
  RequestRepaint();
  for (int i = 0; i < ChildCount(); ++i) Child(i)->RequestRepaint();
}

void TTextObject::DefinePublished(TPropertyList& p) {
  TSkinObject::DefinePublished(p);
  p.Object("FontHot", FontHot);
  p.Object("FontFocused", FontFocused);
  p.Object("FontPressed", FontPressed);
  p.Object("FontDisabled", FontDisabled);
}

const TFont& TTextObject::GetFont() const {
  switch (State) {
    case StateHot:
      return FontHot;
    case StatePressed:
      return FontPressed;
    case StateFocused:
      return FontFocused;
    case StateDisabled:
      return FontDisabled;
    default:
      return Font;
  }
}

void TTextObject::ShiftHue(int32_t delta) {
  TSkinObject::ShiftHue(delta);
  for (TFont* font : {&FontHot, &FontFocused, &FontPressed, &FontDisabled})
    font->Color = ShiftColorHue(font->Color, delta);
}

void TColorButtonObject::DefinePublished(TPropertyList& p) {
  TSkinObject::DefinePublished(p);
  p.Integer("HotColor", HotColor, &ColorIdents);
  p.Object("HotFont", HotFont);
  p.Integer("PressedColor", PressedColor, &ColorIdents);
  p.Object("PressedFont", PressedFont);
  p.Integer("FocusedColor", FocusedColor, &ColorIdents);
  p.Object("FocusedFont", FocusedFont);
  p.Integer("DisabledColor", DisabledColor, &ColorIdents);
  p.Object("DisabledFont", DisabledFont);
}

const TFont& TColorButtonObject::GetFont() const {
  switch (State) {
    case StateHot:
      return HotFont;
    case StatePressed:
      return PressedFont;
    case StateFocused:
      return FocusedFont;
    case StateDisabled:
      return DisabledFont;
    default:
      return Font;
  }
}

int32_t TColorButtonObject::PaintColor() const {
  switch (State) {
    case StateHot:
      return HotColor;
    case StatePressed:
      return PressedColor;
    case StateFocused:
      return FocusedColor;
    case StateDisabled:
      return DisabledColor;
    default:
      return Color;
  }
}

void TColorButtonObject::ShiftHue(int32_t delta) {
  TSkinObject::ShiftHue(delta);
  for (int32_t* color : {&HotColor, &PressedColor, &FocusedColor, &DisabledColor})
    *color = ShiftColorHue(*color, delta);
  for (TFont* font : {&HotFont, &PressedFont, &FocusedFont, &DisabledFont})
    font->Color = ShiftColorHue(font->Color, delta);
}

void TLinkSkinObject::DefinePublished(TPropertyList& p) {
  TSkinObject::DefinePublished(p);
  p.Text("LinkControl", LinkControl);
}

void TLinkSkinObject::PaintTo(TSkinBitmap& target) {
  if (State != 1 || !Visible || !HasArea()) return;
  const TRect r = BoundsRect();
  FillSkinRect(target, r, 0x808080);
  FillSkinRect(target, {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, 0xF0F0F0);
  TFont font;
  font.Name = "Arial";
  font.Style = fsItalic;
  DrawSkinText(target, r, LinkControl, font, 0, {taCenter, false});
}

}  // namespace pixvane
