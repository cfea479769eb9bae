#include "skin/SkinBitmapObjects.h"

#include "skin/SkinHue.h"
#include "skin/SkinPaint.h"

namespace pixvane {

const TSkinBitmapLink& StateLink(int32_t state, const TSkinBitmapLink& normal,
                                 const TStateLooks<TSkinBitmapLink>& looks) {
  const TSkinBitmapLink& chosen = looks.For(state, normal);
  return chosen.IsUsable() ? chosen : normal;
}

// ------------------------------------------------------------ TBitmapFace

void TBitmapFace::PaintTo(TSkinBitmap& target) {
  if (!Visible || !HasArea()) return;
  if (const TSkinBitmapLink& link = PaintLink(); link.IsUsable()) DrawLink(target, link);
  PaintTexts(target);
}

void TBitmapFace::DrawLink(TSkinBitmap& target, const TSkinBitmapLink& link) {
  DrawSkinPart(target, BoundsRect(), *link.Bitmap(), link.Rect(),
               static_cast<TSkinTileStyle>(PaintTile()));
}

TRegion TBitmapFace::OwnRegion() {
  if (!PaintLink().IsUsable()) return {};
  if (Kind == skClient) return TSkinObject::OwnRegion();
  // The pixels the object paints alone at (0, 0) on the key colour.
  TSkinBitmap alone(Width(), Height(), TransparentKey);
  const int32_t left = Left(), top = Top();
  MoveTo(0, 0);
  PaintTo(alone);
  MoveTo(left, top);
  std::vector<TRect> runs;
  for (int32_t y = 0; y < alone.Height(); ++y) {
    const TSkinPixel* line = alone.ScanLine(y);
    for (int32_t x = 0; x < alone.Width();) {
      if (line[x] == TransparentKey) {
        ++x;
        continue;
      }
      const int32_t start = x;
      while (x < alone.Width() && line[x] != TransparentKey) ++x;
      runs.push_back({left + start, top + y, left + x, top + y + 1});
    }
  }
  return TRegion::FromRects(runs);
}

// ------------------------------------------------------------ the classes

void TBitmapObject::DefinePublished(TPropertyList& p) {
  TSkinObject::DefinePublished(p);
  p.Object("Bitmap", Bitmap);
  p.Enum("TileStyle", TileStyle, SkinTileStyleNames);
  p.Enum("BorderTileStyle", BorderTileStyle, SkinTileStyleNames);
}

void TBitmapObject::ForEachLink(const std::function<void(TSkinBitmapLink&)>& visit) {
  visit(Bitmap);
}

void TActiveBitmap::DefinePublished(TPropertyList& p) {
  TBitmapObject::DefinePublished(p);
  p.Object("ActiveBitmap", ActiveBitmap);
  p.Object("ActiveFont", ActiveFont);
}

void TActiveBitmap::ForEachLink(const std::function<void(TSkinBitmapLink&)>& visit) {
  TBitmapObject::ForEachLink(visit);
  visit(ActiveBitmap);
}

const TSkinBitmapLink& TActiveBitmap::PaintLink() const {
  return IsLit() && ActiveBitmap.IsUsable() ? ActiveBitmap : Bitmap;
}

void TActiveBitmap::ShiftHue(int32_t delta) {
  TBitmapObject::ShiftHue(delta);
  ActiveFont.Color = ShiftColorHue(ActiveFont.Color, delta);
}

void TBitmapSkinObject::DefinePublished(TPropertyList& p) {
  TSkinObject::DefinePublished(p);
  p.Object("Bitmap", Bitmap);
  p.Enum("TileStyle", TileStyle, SkinTileStyleNames);
}

void TBitmapSkinObject::ForEachLink(const std::function<void(TSkinBitmapLink&)>& visit) {
  visit(Bitmap);
}

void TFormBitmapSkinObject::DefinePublished(TPropertyList& p) {
  TBitmapSkinObject::DefinePublished(p);
  p.Object("InactiveBitmap", InactiveBitmap);
}

void TFormBitmapSkinObject::ForEachLink(const std::function<void(TSkinBitmapLink&)>& visit) {
  TBitmapSkinObject::ForEachLink(visit);
  visit(InactiveBitmap);
}

const TSkinBitmapLink& TFormBitmapSkinObject::PaintLink() const {
  return !Active && InactiveBitmap.IsUsable() ? InactiveBitmap : Bitmap;
}

void TBitmapBoxObject::DefinePublished(TPropertyList& p) {
  TBitmapSkinObject::DefinePublished(p);
  p.Enum("BorderTileStyle", BorderTileStyle, SkinTileStyleNames);
}

void TBitmapBoxObject::DrawLink(TSkinBitmap& target, const TSkinBitmapLink& link) {
  const TBoxMargins margins{ClampCoord(MarginLeft), ClampCoord(MarginTop), ClampCoord(MarginRight),
                            ClampCoord(MarginBottom)};
  DrawSkinBox(target, BoundsRect(), *link.Bitmap(), link.Rect(), margins,
              static_cast<TSkinTileStyle>(TileStyle), static_cast<TSkinTileStyle>(BorderTileStyle));
}

void TActiveBitmapBoxObject::DefinePublished(TPropertyList& p) {
  TBitmapBoxObject::DefinePublished(p);
  p.Object("FocusedBitmap", FocusedBitmap);
}

void TActiveBitmapBoxObject::ForEachLink(const std::function<void(TSkinBitmapLink&)>& visit) {
  TBitmapBoxObject::ForEachLink(visit);
  visit(FocusedBitmap);
}

const TSkinBitmapLink& TActiveBitmapBoxObject::PaintLink() const {
  const bool lit = State == StateHot || State == StateFocused;
  return lit && FocusedBitmap.IsUsable() ? FocusedBitmap : Bitmap;
}

}  // namespace pixvane
