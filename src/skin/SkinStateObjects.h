#pragma once
#include "skin/SkinObject.h"
#include "skin/SkinStateLooks.h"

namespace pixvane {

// Painted with ActiveColor and ActiveFont while hot or focused, and whenever
// the tree is active.
class TActiveObject : public TSkinObject {
 public:
  int32_t ActiveColor = clWhite;
  TFont ActiveFont;

  std::string_view ClassName() const override { return "TActiveObject"; }
  const TFont& GetFont() const override { return IsLit() ? ActiveFont : Font; }
  void ShiftHue(int32_t delta) override;

 protected:
  void DefinePublished(TPropertyList& properties) override;
  int32_t PaintColor() const override { return IsLit() ? ActiveColor : Color; }
  virtual bool IsLit() const { return Active || State == StateHot || State == StateFocused; }
};

// Painted with ActiveColor and ActiveFont while hot or focused; the pointer
// entering and leaving makes it hot and normal again.
class TActiveSkinObject : public TActiveObject {
 public:
  std::string_view ClassName() const override { return "TActiveSkinObject"; }
  void MouseEnter() override { Light(StateHot); }
  void MouseLeave() override { Light(StateNormal); }

 protected:
  bool IsLit() const override { return State == StateHot || State == StateFocused; }

 private:
  void Light(int32_t state);
};

// A text with a font per state: hot, pressed, focused, disabled.
class TTextObject : public TSkinObject {
 public:
  TStateLooks<TFont> Fonts;  // FontHot, FontFocused, ...

  std::string_view ClassName() const override { return "TTextObject"; }
  const TFont& GetFont() const override { return Fonts.For(State, Font); }
  void ShiftHue(int32_t delta) override;

 protected:
  void DefinePublished(TPropertyList& properties) override;
};

// A face with a colour and font per state: hot, pressed, focused, disabled.
class TColorButtonObject : public TSkinObject {
 public:
  TStateLooks<int32_t> Colors{{clWhite, clWhite, clWhite, clWhite}};  // HotColor, ...
  TStateLooks<TFont> Fonts;                                           // HotFont, ...

  std::string_view ClassName() const override { return "TColorButtonObject"; }
  const TFont& GetFont() const override { return Fonts.For(State, Font); }
  void ShiftHue(int32_t delta) override;

 protected:
  void DefinePublished(TPropertyList& properties) override;
  int32_t PaintColor() const override { return Colors.For(State, Color); }
};

// Where a skin designer placed a control of the form: painted only in state
// 1 (design), as a framed box with the control's name.
class TLinkSkinObject : public TSkinObject {
 public:
  std::string LinkControl;

  std::string_view ClassName() const override { return "TLinkSkinObject"; }
  void PaintTo(TSkinBitmap& target) override;

 protected:
  void DefinePublished(TPropertyList& properties) override;
};

}  // namespace pixvane
