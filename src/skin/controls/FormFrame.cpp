#include "skin/controls/FormFrame.h"

#include <utility>

namespace pixvane {
namespace {

// The window state the system buttons show for: rolled up hides roll-up
// and shows roll-down.
constexpr int32_t NormalState = 0, RolledUpState = 4;

TSkinObject* VisibleButtonAt(TSkinObject& object, TPoint at) {
  if (!object.Visible) return nullptr;
  if (object.Kind == skSysButton && object.BoundsRect().Contains(at.X, at.Y)) return &object;
  for (int i = 0; i < object.ChildCount(); ++i)
    if (TSkinObject* found = VisibleButtonAt(*object.Child(i), at)) return found;
  return nullptr;
}

}  // namespace

void TFormFrame::SetTree(TSkinObject* form) {
  FTree = form;
  FHot = nullptr;
  FPressing = false;
}

void TFormFrame::LayOut(int32_t width, int32_t height, const std::string& title, bool active) {
  if (TSkinObject* caption = FTree->FindByKind(skTitle)) caption->Text = title;
  FTree->SetActive(active);
  Place(width, height);
}

void TFormFrame::Place(int32_t width, int32_t height) {
  FTree->SetState(RolledUp() ? RolledUpState : NormalState);
  FTree->SetBounds(0, 0, width, height);
  FTree->Realign();
}

TFrameInsets TFormFrame::Insets() const {
  TSkinObject* client = FTree->FindByKind(skClient);
  if (!client || RolledUp()) {
    TSkinObject* top = FTree->FindByKind(skTop);
    return {0, top ? top->Height() : 0, 0, 0};
  }
  const TRect inner = client->BoundsRect();
  return {inner.Left, inner.Top, FTree->Width() - inner.Right, FTree->Height() - inner.Bottom};
}

TFrameHit TFormFrame::HitTest(TPoint at, const TRect& client) const {
  if (client.Contains(at.X, at.Y)) return TFrameHit::Client;
  if (ButtonAt(at)) return TFrameHit::SysButton;
  TSkinObject* top = FTree->FindByKind(skTop);
  if (top && top->BoundsRect().Contains(at.X, at.Y)) return TFrameHit::Caption;
  return TFrameHit::Border;
}

std::optional<int32_t> TFormFrame::Roll(bool up, int32_t width, int32_t height) {
  if (up == RolledUp()) return std::nullopt;
  FHot = nullptr;
  if (!up) return std::exchange(FRestoreHeight, 0);
  FRestoreHeight = height;
  Place(width, height);  // in the rolled-up state, which may show other buttons
  TSkinObject* top = FTree->FindByKind(skTop);
  return top ? top->Height() : 0;
}

TSkinObject* TFormFrame::ButtonAt(TPoint at) const {
  return FTree ? VisibleButtonAt(*FTree, at) : nullptr;
}

// The button under the pointer shows hot, or pressed while the left button
// that went down on it is held.
void TFormFrame::Track(TPoint at, bool leftHeld) {
  TSkinObject* under = ButtonAt(at);
  if (under == FHot) return;
  if (FHot) FHot->MouseLeave();
  FHot = under;
  if (!FHot) return;
  FHot->MouseMove(leftHeld ? uint32_t{ssLeft} : 0u, at.X, at.Y);
  FHot->MouseEnter();
  FPointer.WatchPointerLeaving();
}

void TFormFrame::PointerMoved(TPoint at) {
  if (!FPressing) Track(at, false);
}

bool TFormFrame::Press(TPoint at, bool doubleClick) {
  Track(at, true);
  if (!FHot) return false;
  FPressing = true;
  FPointer.CapturePointer();
  if (doubleClick) FHot->DoubleClick(mbLeft);
  FHot->MouseDown(mbLeft, ssLeft, 0, 0);
  return true;
}

void TFormFrame::Drag(TPoint at) {
  if (!FPressing || !FHot) return;
  const bool over = ButtonAt(at) == FHot;
  FHot->MouseMove(over ? uint32_t{ssLeft} : 0u, at.X, at.Y);
  if (over)
    FHot->MouseEnter();
  else
    FHot->MouseLeave();
}

void TFormFrame::Release(TPoint at) {
  TSkinObject* button = FHot;
  FPressing = false;
  FPointer.ReleasePointer();
  if (button && ButtonAt(at) == button)
    button->MouseUp(mbLeft, 0, at.X, at.Y);  // may close or roll the window
  else if (button)
    Track(at, false);
}

}  // namespace pixvane
