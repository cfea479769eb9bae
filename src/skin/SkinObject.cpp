#include "skin/SkinObject.h"

#include <algorithm>

#include "base/AsciiText.h"
#include "base/MulDiv.h"
#include "base/Stream.h"
#include "skin/SkinHue.h"
#include "skin/SkinPaint.h"
#include "skin/SkinRecord.h"
#include "skin/SkinRecordIO.h"
#include "skin/SkinText.h"

namespace pixvane {
namespace {

constexpr TColor GrayText = 8421504;  // 808080

// Sizes from untrusted skins, kept where a rectangle's edges cannot overflow.
int32_t ClampSize(int32_t value) {
  return std::clamp(value, 0, 1 << 24);
}

}  // namespace

TSkinObject::TSkinObject() = default;
TSkinObject::~TSkinObject() = default;

void TSkinObject::DefineProperties(TPropertyList& properties) {
  DefinePublished(properties);
  properties.Binary(
      "Objects", [this](TStream& stream) { ReadChildren(stream); },
      [this](TStream& stream) { WriteChildren(stream); });
}

void TSkinObject::DefinePublished(TPropertyList& p) {
  p.Enum("Align", Align, SkinAlignNames);
  p.Integer("Color", Color, &ColorIdents);
  p.Flag("DrawIfOwner", DrawIfOwner);
  p.Object("Font", Font);
  p.Enum("Kind", Kind, SkinKindNames);
  // The rectangle goes through SetBounds, as setting it does at run time.
  p.Integer("Left", FLeft).SetOrd = [this](int32_t v) { SetBounds(v, FTop, FWidth, FHeight); };
  p.Integer("Top", FTop).SetOrd = [this](int32_t v) { SetBounds(FLeft, v, FWidth, FHeight); };
  p.Integer("Height", FHeight).SetOrd = [this](int32_t v) { SetBounds(FLeft, FTop, FWidth, v); };
  p.Integer("Width", FWidth).SetOrd = [this](int32_t v) { SetBounds(FLeft, FTop, v, FHeight); };
  p.Integer("MarginLeft", MarginLeft);
  p.Integer("MarginRight", MarginRight);
  p.Integer("MarginTop", MarginTop);
  p.Integer("MarginBottom", MarginBottom);
  p.Enum("TextAlign", TextAlign, SkinTextAlignNames);
  p.Enum("TextEffect", TextEffect, SkinTextEffectNames);
  p.Integer("TextMarginLeft", TextMarginLeft);
  p.Integer("TextMarginRight", TextMarginRight);
  p.Integer("TextMarginTop", TextMarginTop);
}

void TSkinObject::ReadChildren(TStream& stream) {
  FChildren.clear();
  // Each child record holds at least its two text lengths.
  const int32_t count = ReadRecordCount(stream, 8);
  for (int32_t i = 0; i < count; ++i) AddChild(ReadObjectRecord(stream, FRecordDepth + 1));
}

void TSkinObject::WriteChildren(TStream& stream) const {
  WriteRecordInt(stream, ChildCount());
  for (const auto& child : FChildren) WriteObjectRecord(stream, *child);
}

// ------------------------------------------------------------------ tree

TSkinObject* TSkinObject::Child(int index) const {
  return index >= 0 && index < ChildCount() ? FChildren[index].get() : nullptr;
}

void TSkinObject::AddChild(std::unique_ptr<TSkinObject> child) {
  child->FParent = this;
  FChildren.push_back(std::move(child));
}

TSkinObject* TSkinObject::FindByKind(int32_t kind) {
  if (Kind == kind) return this;
  for (const auto& child : FChildren)
    if (TSkinObject* found = child->FindByKind(kind)) return found;
  return nullptr;
}

TSkinObject* TSkinObject::FindByName(std::string_view name) {
  if (SameText(Name, name)) return this;
  for (const auto& child : FChildren)
    if (TSkinObject* found = child->FindByName(name)) return found;
  return nullptr;
}

int TSkinObject::Depth() const {
  int depth = 0;
  for (const TSkinObject* p = FParent; p; p = p->FParent) ++depth;
  return depth;
}

void TSkinObject::SetActive(bool active) {
  Active = active;
  for (const auto& child : FChildren) child->SetActive(active);
}

void TSkinObject::SetHost(TSkinHost* host) {
  FHost = host;
  for (const auto& child : FChildren) child->SetHost(host);
}

void TSkinObject::SetBitmaps(const TSkinBitmapList* bitmaps) {
  FBitmaps = bitmaps;
  for (const auto& child : FChildren) child->SetBitmaps(bitmaps);
}

void TSkinObject::SetState(int32_t state) {
  State = state;
  for (const auto& child : FChildren) child->SetState(state);
}

void TSkinObject::AfterLoad() {
  for (const auto& child : FChildren) child->AfterLoad();
  if (FBitmaps) ForEachLink([this](TSkinBitmapLink& link) { link.Resolve(*FBitmaps); });
}

void TSkinObject::SetCharset(int32_t charset) {
  TPropertyList properties;
  DefinePublished(properties);
  for (const TProperty& property : properties.Items())
    if (auto* font = dynamic_cast<TFont*>(property.Object)) font->Charset = charset;
  for (const auto& child : FChildren) child->SetCharset(charset);
}

void TSkinObject::RequestRepaint() {
  if (Visible && FHost) FHost->RepaintObject(*this);
}

// ---------------------------------------------------------------- layout

void TSkinObject::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  left = ClampCoord(left);
  top = ClampCoord(top);
  width = ClampSize(width);
  height = ClampSize(height);
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  FOldWidth = FWidth;
  FOldHeight = FHeight;
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  Realign();
}

void TSkinObject::ScaleBounds(int percent) {
  for (int32_t* field : {&FLeft, &FTop, &FWidth, &FHeight, &FOldWidth, &FOldHeight})
    *field = ClampCoord(MulDiv(*field, percent, 100));
}

void TSkinObject::Realign() {
  TRect free = BoundsRect();
  auto visible = [](const auto& child) { return child->Visible; };
  // Passes 1 to 4: strips off the free area, the "most" ones first.
  const int32_t strips[4][2] = {
      {saMostTop, saMostBottom}, {saMostLeft, saMostRight}, {saTop, saBottom}, {saLeft, saRight}};
  for (int pass = 0; pass < 4; ++pass) {
    const bool horizontal = pass % 2 == 0;
    for (const auto& child : FChildren) {
      if (!visible(child)) continue;
      const int32_t w = child->FWidth, h = child->FHeight;
      if (child->Align == strips[pass][0]) {
        if (horizontal) {
          child->SetBounds(free.Left, free.Top, free.Width(), h);
          free.Top += h;
        } else {
          child->SetBounds(free.Left, free.Top, w, free.Height());
          free.Left += w;
        }
      } else if (child->Align == strips[pass][1]) {
        if (horizontal) {
          child->SetBounds(free.Left, free.Bottom - h, free.Width(), h);
          free.Bottom -= h;
        } else {
          child->SetBounds(free.Right - w, free.Top, w, free.Height());
          free.Right -= w;
        }
      }
    }
  }
  // Pass 5: centred children keep their width and span the full height.
  for (auto it = FChildren.rbegin(); it != FChildren.rend(); ++it)
    if (visible(*it) && (*it)->Align == saCenter)
      (*it)->SetBounds(free.Left + (free.Width() - (*it)->FWidth) / 2, FTop, (*it)->FWidth,
                       FHeight);
  // Pass 6: the client takes what is left.
  for (const auto& child : FChildren)
    if (visible(child) && child->Align == saClient) child->SetBounds(free);
  PlaceCorners();
}

// Pass 7: corner children keep their distance from the right or bottom edge,
// without laying out their own children.
void TSkinObject::PlaceCorners() {
  for (const auto& child : FChildren) {
    if (!child->Visible) continue;
    switch (child->Align) {
      case saTopRight:
        child->FLeft = ClampCoord(FWidth - (FOldWidth - child->FLeft));
        break;
      case saBottomLeft:
        child->FTop = ClampCoord(FHeight - (FOldHeight - child->FTop));
        break;
      case saBottomRight:
        // As the model has it: the edge distance is not taken from the old size.
        child->FLeft = ClampCoord(FWidth - child->FLeft);
        child->FTop = ClampCoord(FHeight - child->FTop);
        break;
    }
  }
}

// -------------------------------------------------------------- painting

void TSkinObject::PaintTo(TSkinBitmap& target) {
  if (!Visible || !HasArea()) return;
  if (FChildren.empty() || DrawIfOwner) {
    FillSkinRect(target, BoundsRect(), ColorToRgb(PaintColor()));
    PaintTexts(target);
  }
  PaintChildren(target);
}

void TSkinObject::PaintChildren(TSkinBitmap& target) {
  for (const auto& child : FChildren)
    if (child->Visible && child->HasArea()) child->PaintTo(target);
}

void TSkinObject::PaintTexts(TSkinBitmap& target) {
  const TColor color = Enabled ? ColorToRgb(GetFont().Color) : GrayText;
  if (Text == "-") {
    const int32_t y = FTop + FHeight / 2;
    FillSkinRect(target, {FLeft + 3, y, FLeft + FWidth - 3, y + 1}, color);
  } else if (!Text.empty()) {
    PaintText(target, Text, static_cast<TSkinTextAlign>(TextAlign));
  }
  if (!SideText.empty())
    PaintText(target, SideText, MirroredAlign(static_cast<TSkinTextAlign>(TextAlign)));
}

void TSkinObject::PaintText(TSkinBitmap& target, const std::string& text, TSkinTextAlign align) {
  const TFont& font = GetFont();
  const TColor color = Enabled ? ColorToRgb(font.Color) : GrayText;
  const TRect rect{FLeft + ClampCoord(TextMarginLeft), FTop + ClampCoord(TextMarginTop),
                   FLeft + FWidth - ClampCoord(TextMarginRight), FTop + FHeight};
  const std::string shown =
      Kind == skTitle
          ? EllipsisText(font, text,
                         FWidth - ClampCoord(TextMarginLeft) - ClampCoord(TextMarginRight))
          : text;
  TTextPlacement placement{align, false};
  if (const TBiDiMode mode = FHost ? FHost->BiDiMode() : bdLeftToRight; mode != bdLeftToRight) {
    placement.Align = MirroredAlign(align);
    placement.RightToLeftReading = mode == bdRightToLeft;
  }
  if (TextEffect == teShadow) DrawSkinText(target, rect.Offset(1, 1), shown, font, 0, placement);
  DrawSkinText(target, rect, shown, font, color, placement);
}

// ---------------------------------------------------------------- shape

TRegion TSkinObject::MakeRegion() {
  if (!HasArea()) return {};
  if (FChildren.empty() || DrawIfOwner) return OwnRegion();
  TRegion region;
  for (const auto& child : FChildren)
    if (child->Visible) region |= child->MakeRegion();
  return region;
}

TRegion TSkinObject::OwnRegion() {
  return TRegion(BoundsRect());
}

void TSkinObject::ShiftHue(int32_t delta) {
  Color = ShiftColorHue(Color, delta);
  Font.Color = ShiftColorHue(Font.Color, delta);
  for (const auto& child : FChildren) child->ShiftHue(delta);
}

}  // namespace pixvane
