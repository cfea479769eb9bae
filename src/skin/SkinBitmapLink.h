#pragma once
#include <cstdint>
#include <string>

#include "graphics/Geometry.h"
#include "package/Persistent.h"
#include "skin/SkinBitmap.h"

namespace pixvane {

// A rectangle (Left, Top)-(Right, Bottom) of the skin bitmap called Name.
// Resolve finds the bitmap; a link without one, or with an empty rectangle,
// draws nothing.
class TSkinBitmapLink : public TPersistent {
 public:
  std::string Name;
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;

  std::string_view ClassName() const override { return "TSkinBitmapLink"; }
  void DefineProperties(TPropertyList& properties) override;

  TRect Rect() const;
  const TSkinBitmap* Bitmap() const { return FBitmap; }
  // True when the link has a bitmap and its rectangle has area.
  bool IsUsable() const { return FBitmap && !Rect().IsEmpty(); }
  // Takes the last bitmap of the list whose name matches, ignoring case;
  // none when no name matches.
  void Resolve(const TSkinBitmapList& bitmaps);

 private:
  const TSkinBitmap* FBitmap = nullptr;  // owned by the skin's bitmap list
};

// Coordinates from untrusted skins, kept where sums of two of them cannot
// overflow.
int32_t ClampCoord(int32_t value);

}  // namespace pixvane
