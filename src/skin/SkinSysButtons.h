#pragma once
#include "skin/SkinBitmapObjects.h"

namespace pixvane {

// What both kinds of system button share: the press state the mouse drives,
// the action, and the visibility rules of a skinned form's frame.
class TSysButtonLogic {
 public:
  int32_t Action = sbaNone;  // TSkinAction
  int32_t Press = 0;         // 0 up, 1 under the pointer, 2 held down
  uint32_t Shift = 0;        // TShiftState bits as MouseMove last saw them

  // Shows or hides the button by the form's window state and border icons.
  void ApplyVisibility(TSkinObject& button, int32_t state) const;
  // The link a press state paints with, where usable.
  const TSkinBitmapLink& PressLink(const TSkinBitmapLink& normal, const TSkinBitmapLink& hover,
                                   const TSkinBitmapLink& down) const;
  void Enter(TSkinObject& button);
  void Leave(TSkinObject& button);
  void Down(TSkinObject& button, TMouseButton mouse);
  void Move(TSkinObject& button, uint32_t shift);
  void Up(TSkinObject& button, TMouseButton mouse, const std::string& rollPanel);
  void DoubleClick(TSkinObject& button, TMouseButton mouse) const;

 private:
  void SetPress(TSkinObject& button, int32_t press);
  void Perform(TSkinObject& button, const std::string& rollPanel) const;
};

// A frame button of the older object family.
class TSystemButton : public TActiveBitmap {
 public:
  TSkinBitmapLink BitmapHot, BitmapPressed;
  TSysButtonLogic Logic;

  std::string_view ClassName() const override { return "TSystemButton"; }
  void ForEachLink(const std::function<void(TSkinBitmapLink&)>& visit) override;
  void SetState(int32_t state) override;
  void PaintTo(TSkinBitmap& target) override;
  void MouseEnter() override { Logic.Enter(*this); }
  void MouseLeave() override { Logic.Leave(*this); }
  void MouseDown(TMouseButton button, uint32_t shift, int32_t x, int32_t y) override;
  void MouseMove(uint32_t shift, int32_t x, int32_t y) override { Logic.Move(*this, shift); }
  void MouseUp(TMouseButton button, uint32_t shift, int32_t x, int32_t y) override;
  void DoubleClick(TMouseButton button) override { Logic.DoubleClick(*this, button); }

 protected:
  void DefinePublished(TPropertyList& properties) override;
  const TSkinBitmapLink& PaintLink() const override;
};

// A frame button: close, minimise, roll up, the system menu's icon...
class TSysButtonSkinObject : public TBitmapSkinObject {
 public:
  TSkinBitmapLink BitmapHover, BitmapDown;
  std::string RollPanel;  // the roll panel sbaRollPanel toggles
  TSysButtonLogic Logic;

  std::string_view ClassName() const override { return "TSysButtonSkinObject"; }
  void ForEachLink(const std::function<void(TSkinBitmapLink&)>& visit) override;
  void SetState(int32_t state) override;
  void PaintTo(TSkinBitmap& target) override;
  void MouseEnter() override { Logic.Enter(*this); }
  void MouseLeave() override { Logic.Leave(*this); }
  void MouseDown(TMouseButton button, uint32_t shift, int32_t x, int32_t y) override;
  void MouseMove(uint32_t shift, int32_t x, int32_t y) override { Logic.Move(*this, shift); }
  void MouseUp(TMouseButton button, uint32_t shift, int32_t x, int32_t y) override;
  void DoubleClick(TMouseButton button) override { Logic.DoubleClick(*this, button); }

 protected:
  void DefinePublished(TPropertyList& properties) override;
  const TSkinBitmapLink& PaintLink() const override;
};

// A panel that a system button rolls in and out: rolled, it keeps RollValue
// pixels at the RollKind edge (rkTop keeps its top strip, rkLeft its left
// one...), and unrolled it takes its size back.
class TRollPanelObject : public TSkinObject {
 public:
  int32_t RollKind = rkTop;  // TSkinRollKind
  int32_t RollValue = 0;

  std::string_view ClassName() const override { return "TRollPanelObject"; }
  bool IsRolled() const { return FRolled; }
  void Toggle();

 protected:
  void DefinePublished(TPropertyList& properties) override;

 private:
  bool FRolled = false;
  TRect FUnrolled;
};

}  // namespace pixvane
