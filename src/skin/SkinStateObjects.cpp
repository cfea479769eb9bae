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
  PublishLooks(p, Fonts, {"FontHot", "FontFocused", "FontPressed", "FontDisabled"});
}

void TTextObject::ShiftHue(int32_t delta) {
  TSkinObject::ShiftHue(delta);
  for (TFont& font : Fonts.Items) font.Color = ShiftColorHue(font.Color, delta);
}

void TColorButtonObject::DefinePublished(TPropertyList& p) {
  TSkinObject::DefinePublished(p);
  // Stored as a colour and a font per state, in this order of states.
  static constexpr TLookNames ColorNames{"HotColor", "FocusedColor", "PressedColor",
                                         "DisabledColor"};
  static constexpr TLookNames FontNames{"HotFont", "FocusedFont", "PressedFont", "DisabledFont"};
  for (TLookState state : {lsHot, lsPressed, lsFocused, lsDisabled}) {
    p.Integer(ColorNames[state], Colors[state], &ColorIdents);
    p.Object(FontNames[state], Fonts[state]);
  }
}

void TColorButtonObject::ShiftHue(int32_t delta) {
  TSkinObject::ShiftHue(delta);
  for (int32_t& color : Colors.Items) color = ShiftColorHue(color, delta);
  for (TFont& font : Fonts.Items) font.Color = ShiftColorHue(font.Color, delta);
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
