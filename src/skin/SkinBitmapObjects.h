#pragma once
#include "skin/SkinObject.h"
#include "skin/SkinStateLooks.h"

namespace pixvane {

// The objects that paint a rectangle of a skin bitmap instead of a fill,
// then their texts, and no children. Their shape is the pixels they paint.
class TBitmapFace : public TSkinObject {
 public:
  void PaintTo(TSkinBitmap& target) override;

 protected:
  // The link this paint uses, chosen by state.
  virtual const TSkinBitmapLink& PaintLink() const = 0;
  virtual int32_t PaintTile() const = 0;
  // Draws a usable link over the object's rectangle.
  virtual void DrawLink(TSkinBitmap& target, const TSkinBitmapLink& link);
  TRegion OwnRegion() override;
};

class TBitmapObject : public TBitmapFace {
 public:
  TSkinBitmapLink Bitmap;
  int32_t TileStyle = tsTile;        // TSkinTileStyle
  int32_t BorderTileStyle = tsTile;  // TSkinTileStyle

  std::string_view ClassName() const override { return "TBitmapObject"; }
  void ForEachLink(const std::function<void(TSkinBitmapLink&)>& visit) override;

 protected:
  void DefinePublished(TPropertyList& properties) override;
  const TSkinBitmapLink& PaintLink() const override { return Bitmap; }
  int32_t PaintTile() const override { return TileStyle; }
};

// Paints ActiveBitmap (and ActiveFont) while the tree is active or the
// object is hot or focused.
class TActiveBitmap : public TBitmapObject {
 public:
  TSkinBitmapLink ActiveBitmap;
  TFont ActiveFont;

  std::string_view ClassName() const override { return "TActiveBitmap"; }
  void ForEachLink(const std::function<void(TSkinBitmapLink&)>& visit) override;
  const TFont& GetFont() const override { return IsLit() ? ActiveFont : Font; }
  void ShiftHue(int32_t delta) override;

 protected:
  void DefinePublished(TPropertyList& properties) override;
  const TSkinBitmapLink& PaintLink() const override;
  bool IsLit() const { return Active || State == StateHot || State == StateFocused; }
};

// The link of a state, as buttons pick it: the state's own where it is
// usable, else the normal one.
const TSkinBitmapLink& StateLink(int32_t state, const TSkinBitmapLink& normal,
                                 const TStateLooks<TSkinBitmapLink>& looks);

// A face of TBase (which has a Bitmap) with a bitmap of its own for each
// button state, stored under Names; the two classes that have them name
// them differently.
template <typename TBase, const TLookNames& Names>
class TStateBitmaps : public TBase {
 public:
  TStateLooks<TSkinBitmapLink> Bitmaps;

  void ForEachLink(const std::function<void(TSkinBitmapLink&)>& visit) override {
    TBase::ForEachLink(visit);
    for (TSkinBitmapLink& link : Bitmaps.Items) visit(link);
  }

 protected:
  void DefinePublished(TPropertyList& properties) override {
    TBase::DefinePublished(properties);
    PublishLooks(properties, Bitmaps, Names);
  }
  const TSkinBitmapLink& PaintLink() const override {
    return StateLink(this->State, this->Bitmap, Bitmaps);
  }
};

// A button face by state: hot, focused, pressed, disabled, else Bitmap.
inline constexpr TLookNames ButtonObjectLooks{"BitmapHot", "BitmapFocused", "BitmapPressed",
                                              "BitmapDisabled"};
class TButtonObject : public TStateBitmaps<TBitmapObject, ButtonObjectLooks> {
 public:
  std::string_view ClassName() const override { return "TButtonObject"; }
};

class TBitmapSkinObject : public TBitmapFace {
 public:
  TSkinBitmapLink Bitmap;
  int32_t TileStyle = tsTile;

  std::string_view ClassName() const override { return "TBitmapSkinObject"; }
  void ForEachLink(const std::function<void(TSkinBitmapLink&)>& visit) override;

 protected:
  void DefinePublished(TPropertyList& properties) override;
  const TSkinBitmapLink& PaintLink() const override { return Bitmap; }
  int32_t PaintTile() const override { return TileStyle; }
};

// A frame part with its own look while the window is inactive.
class TFormBitmapSkinObject : public TBitmapSkinObject {
 public:
  TSkinBitmapLink InactiveBitmap;

  std::string_view ClassName() const override { return "TFormBitmapSkinObject"; }
  void ForEachLink(const std::function<void(TSkinBitmapLink&)>& visit) override;

 protected:
  void DefinePublished(TPropertyList& properties) override;
  const TSkinBitmapLink& PaintLink() const override;
};

// A nine-part box: corners unscaled, edges by BorderTileStyle, the centre by
// TileStyle, the margins saying where the parts meet.
class TBitmapBoxObject : public TBitmapSkinObject {
 public:
  int32_t BorderTileStyle = tsTile;

  std::string_view ClassName() const override { return "TBitmapBoxObject"; }

 protected:
  void DefinePublished(TPropertyList& properties) override;
  void DrawLink(TSkinBitmap& target, const TSkinBitmapLink& link) override;
};

// A box with FocusedBitmap while hot or focused.
class TActiveBitmapBoxObject : public TBitmapBoxObject {
 public:
  TSkinBitmapLink FocusedBitmap;

  std::string_view ClassName() const override { return "TActiveBitmapBoxObject"; }
  void ForEachLink(const std::function<void(TSkinBitmapLink&)>& visit) override;

 protected:
  void DefinePublished(TPropertyList& properties) override;
  const TSkinBitmapLink& PaintLink() const override;
};

// A box by state: hot, focused, pressed, disabled, else Bitmap.
inline constexpr TLookNames ButtonBoxLooks{"HotBitmap", "FocusedBitmap", "PressedBitmap",
                                           "DisabledBitmap"};
class TButtonBitmapBoxObject : public TStateBitmaps<TBitmapBoxObject, ButtonBoxLooks> {
 public:
  std::string_view ClassName() const override { return "TButtonBitmapBoxObject"; }
};

}  // namespace pixvane
