#include "skin/SkinBitmapLink.h"

#include <algorithm>

#include "base/AsciiText.h"

namespace pixvane {

int32_t ClampCoord(int32_t value) {
  constexpr int32_t Limit = 1 << 24;
  return std::clamp(value, -Limit, Limit);
}

void TSkinBitmapLink::DefineProperties(TPropertyList& properties) {
  properties.Text("Name", Name);
  properties.Integer("Left", Left);
  properties.Integer("Top", Top);
  properties.Integer("Right", Right);
  properties.Integer("Bottom", Bottom);
}

TRect TSkinBitmapLink::Rect() const {
  return {ClampCoord(Left), ClampCoord(Top), ClampCoord(Right), ClampCoord(Bottom)};
}

void TSkinBitmapLink::Resolve(const TSkinBitmapList& bitmaps) {
  FBitmap = nullptr;
  for (const auto& bitmap : bitmaps)
    if (SameText(bitmap->Name, Name)) FBitmap = bitmap.get();
}

}  // namespace pixvane
