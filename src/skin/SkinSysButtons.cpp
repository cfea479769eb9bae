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

// ------------------------------------------------------------- TSysButton

template <typename TFace>
void TSysButton<TFace>::DefinePublished(TPropertyList& p) {
  TFace::DefinePublished(p);
  p.Enum("Action", Action, SkinActionNames);
  p.Object(TFamily::Hover, Hover);
  p.Object(TFamily::Down, Down);
  if constexpr (TFamily::StoresRollPanel) p.Text("RollPanel", RollPanel);
}

template <typename TFace>
void TSysButton<TFace>::ForEachLink(const std::function<void(TSkinBitmapLink&)>& visit) {
  TFace::ForEachLink(visit);
  visit(Hover);
  visit(Down);
}

template <typename TFace>
void TSysButton<TFace>::SetState(int32_t state) {
  TFace::SetState(state);
  TSkinHost* host = this->Host();
  if (!host || !host->IsSkinnedForm()) return;
  if (state == 0 || state == 2 || state == 3 || state == 4) this->Visible = ShownIn(state, Action);
  if (const uint32_t icon = IconOf(Action); icon && !(host->BorderIcons() & icon))
    this->Visible = false;
}

template <typename TFace>
void TSysButton<TFace>::PaintTo(TSkinBitmap& target) {
  if (!PaintSysMenuIcon(*this, Action, target)) TFace::PaintTo(target);
}

template <typename TFace>
const TSkinBitmapLink& TSysButton<TFace>::PaintLink() const {
  if (FPress == 1 && Hover.IsUsable()) return Hover;
  if (FPress == 2 && Down.IsUsable()) return Down;
  return TFace::PaintLink();
}

template <typename TFace>
void TSysButton<TFace>::SetPress(int32_t press) {
  if (press == FPress) return;
  FPress = press;
  this->RequestRepaint();
}

template <typename TFace>
void TSysButton<TFace>::MouseEnter() {
  SetPress(FShift & ssLeft ? 2 : 1);
}

template <typename TFace>
void TSysButton<TFace>::MouseDown(TMouseButton button, uint32_t, int32_t, int32_t) {
  if (button == mbLeft) SetPress(2);
}

template <typename TFace>
void TSysButton<TFace>::MouseMove(uint32_t shift, int32_t, int32_t) {
  FShift = shift;
  if (FPress == 2 && !(shift & ssLeft)) SetPress(1);
}

template <typename TFace>
void TSysButton<TFace>::MouseUp(TMouseButton button, uint32_t, int32_t, int32_t) {
  if (button != mbLeft || FPress != 2) return;
  SetPress(1);
  Perform();
}

template <typename TFace>
void TSysButton<TFace>::DoubleClick(TMouseButton button) {
  if (button == mbLeft && Action == sbaSysMenu && this->Host())
    this->Host()->PerformAction(sbaClose, *this);
}

template <typename TFace>
void TSysButton<TFace>::Perform() {
  if (Action == sbaNone) return;
  if (Action == sbaRollPanel) {
    TSkinObject* root = this;
    while (root->Parent()) root = root->Parent();
    if (auto* panel = dynamic_cast<TRollPanelObject*>(root->FindByName(RollPanel))) panel->Toggle();
    return;
  }
  if (this->Host()) this->Host()->PerformAction(static_cast<TSkinAction>(Action), *this);
}

template class TSysButton<TActiveBitmap>;
template class TSysButton<TBitmapSkinObject>;

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
