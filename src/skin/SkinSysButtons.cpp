#include "skin/SkinSysButtons.h"

#include <algorithm>

namespace pixvane {
namespace {

// The border icon an action needs; 0 for actions that need none.
uint32_t IconOf(int32_t action) {
  switch (action) {
    case sbaClose:
      return sbiClose;
    case sbaHelp:
      return sbiHelp;
    case sbaMinimize:
      return sbiMinimize;
    case sbaMaximize:
    case sbaRestore:
      return sbiMaximize;
    case sbaRollUp:
    case sbaRollDown:
      return sbiRollup;
    case sbaTray:
      return sbiTray;
    case sbaSysMenu:
      return sbiSystemMenu;
    default:
      return 0;
  }
}

// Whether the button shows in a window state; the hidden actions per state.
bool ShownIn(int32_t state, int32_t action) {
  auto any = [action](std::initializer_list<int32_t> actions) {
    return std::find(actions.begin(), actions.end(), action) != actions.end();
  };
  switch (state) {
    case 0:
      return !any({sbaRestore, sbaRollDown});
    case 2:
      return !any({sbaMaximize, sbaRollDown});
    case 3:
      return !any({sbaMinimize, sbaMaximize, sbaRollUp, sbaRollDown});
    default:  // 4, rolled up
      return !any({sbaRestore, sbaRollUp});
  }
}

// The system menu's button shows the window's icon where the host has one.
bool PaintSysMenuIcon(TSkinObject& button, int32_t action, TSkinBitmap& target) {
  if (action != sbaSysMenu || !button.Visible || button.Width() <= 0 || button.Height() <= 0)
    return false;
  TSkinHost* host = button.Host();
  return host && host->DrawWindowIcon(target, {button.Left(), button.Top()});
}

}  // namespace

// -------------------------------------------------------- TSysButtonLogic

void TSysButtonLogic::ApplyVisibility(TSkinObject& button, int32_t state) const {
  TSkinHost* host = button.Host();
  if (!host || !host->IsSkinnedForm()) return;
  if (state == 0 || state == 2 || state == 3 || state == 4) button.Visible = ShownIn(state, Action);
  if (const uint32_t icon = IconOf(Action); icon && !(host->BorderIcons() & icon))
    button.Visible = false;
}

const TSkinBitmapLink& TSysButtonLogic::PressLink(const TSkinBitmapLink& normal,
                                                  const TSkinBitmapLink& hover,
                                                  const TSkinBitmapLink& down) const {
  if (Press == 1 && hover.IsUsable()) return hover;
  if (Press == 2 && down.IsUsable()) return down;
  return normal;
}

void TSysButtonLogic::SetPress(TSkinObject& button, int32_t press) {
  if (press == Press) return;
  Press = press;
  button.RequestRepaint();
}

void TSysButtonLogic::Enter(TSkinObject& button) {
  SetPress(button, Shift & ssLeft ? 2 : 1);
}

void TSysButtonLogic::Leave(TSkinObject& button) {
  SetPress(button, 0);
}

void TSysButtonLogic::Down(TSkinObject& button, TMouseButton mouse) {
  if (mouse == mbLeft) SetPress(button, 2);
}

void TSysButtonLogic::Move(TSkinObject& button, uint32_t shift) {
  Shift = shift;
  if (Press == 2 && !(shift & ssLeft)) SetPress(button, 1);
}

void TSysButtonLogic::Up(TSkinObject& button, TMouseButton mouse, const std::string& rollPanel) {
  if (mouse != mbLeft || Press != 2) return;
  SetPress(button, 1);
  Perform(button, rollPanel);
}

void TSysButtonLogic::DoubleClick(TSkinObject& button, TMouseButton mouse) const {
  if (mouse == mbLeft && Action == sbaSysMenu && button.Host())
    button.Host()->PerformAction(sbaClose, button);
}

void TSysButtonLogic::Perform(TSkinObject& button, const std::string& rollPanel) const {
  if (Action == sbaNone) return;
  if (Action == sbaRollPanel) {
    TSkinObject* root = &button;
    while (root->Parent()) root = root->Parent();
    if (auto* panel = dynamic_cast<TRollPanelObject*>(root->FindByName(rollPanel))) panel->Toggle();
    return;
  }
  if (button.Host()) button.Host()->PerformAction(static_cast<TSkinAction>(Action), button);
}

// ------------------------------------------------------------ the buttons

void TSystemButton::DefinePublished(TPropertyList& p) {
  TActiveBitmap::DefinePublished(p);
  p.Enum("Action", Logic.Action, SkinActionNames);
  p.Object("BitmapHot", BitmapHot);
  p.Object("BitmapPressed", BitmapPressed);
}

void TSystemButton::ForEachLink(const std::function<void(TSkinBitmapLink&)>& visit) {
  TActiveBitmap::ForEachLink(visit);
  visit(BitmapHot);
  visit(BitmapPressed);
}

void TSystemButton::SetState(int32_t state) {
  TActiveBitmap::SetState(state);
  Logic.ApplyVisibility(*this, state);
}

void TSystemButton::PaintTo(TSkinBitmap& target) {
  if (!PaintSysMenuIcon(*this, Logic.Action, target)) TActiveBitmap::PaintTo(target);
}

void TSystemButton::MouseDown(TMouseButton button, uint32_t shift, int32_t x, int32_t y) {
  Logic.Down(*this, button);
}

void TSystemButton::MouseUp(TMouseButton button, uint32_t shift, int32_t x, int32_t y) {
  Logic.Up(*this, button, {});
}

const TSkinBitmapLink& TSystemButton::PaintLink() const {
  return Logic.PressLink(TActiveBitmap::PaintLink(), BitmapHot, BitmapPressed);
}

void TSysButtonSkinObject::DefinePublished(TPropertyList& p) {
  TBitmapSkinObject::DefinePublished(p);
  p.Enum("Action", Logic.Action, SkinActionNames);
  p.Object("BitmapHover", BitmapHover);
  p.Object("BitmapDown", BitmapDown);
  p.Text("RollPanel", RollPanel);
}

void TSysButtonSkinObject::ForEachLink(const std::function<void(TSkinBitmapLink&)>& visit) {
  TBitmapSkinObject::ForEachLink(visit);
  visit(BitmapHover);
  visit(BitmapDown);
}

void TSysButtonSkinObject::SetState(int32_t state) {
  TBitmapSkinObject::SetState(state);
  Logic.ApplyVisibility(*this, state);
}

void TSysButtonSkinObject::PaintTo(TSkinBitmap& target) {
  if (!PaintSysMenuIcon(*this, Logic.Action, target)) TBitmapSkinObject::PaintTo(target);
}

void TSysButtonSkinObject::MouseDown(TMouseButton button, uint32_t shift, int32_t x, int32_t y) {
  Logic.Down(*this, button);
}

void TSysButtonSkinObject::MouseUp(TMouseButton button, uint32_t shift, int32_t x, int32_t y) {
  Logic.Up(*this, button, RollPanel);
}

const TSkinBitmapLink& TSysButtonSkinObject::PaintLink() const {
  return Logic.PressLink(Bitmap, BitmapHover, BitmapDown);
}

// ------------------------------------------------------- TRollPanelObject

void TRollPanelObject::DefinePublished(TPropertyList& p) {
  TSkinObject::DefinePublished(p);
  p.Enum("RollKind", RollKind, SkinRollKindNames);
  p.Integer("RollValue", RollValue);
}

void TRollPanelObject::Toggle() {
  if (FRolled) {
    FRolled = false;
    SetBounds(FUnrolled);
  } else {
    FRolled = true;
    FUnrolled = BoundsRect();
    const int32_t keep = std::max(RollValue, 0);
    TRect rolled = FUnrolled;
    switch (RollKind) {
      case rkLeft:
        rolled.Right = rolled.Left + std::min(keep, rolled.Width());
        break;
      case rkRight:
        rolled.Left = rolled.Right - std::min(keep, rolled.Width());
        break;
      case rkBottom:
        rolled.Top = rolled.Bottom - std::min(keep, rolled.Height());
        break;
      default:
        rolled.Bottom = rolled.Top + std::min(keep, rolled.Height());
    }
    SetBounds(rolled);
  }
  if (Parent()) Parent()->Realign();
  RequestRepaint();
}

}  // namespace pixvane
