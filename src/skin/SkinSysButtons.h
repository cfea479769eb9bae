#pragma once
#include "skin/SkinBitmapObjects.h"

namespace pixvane {

// What tells the two object families' system buttons apart: the face they
// are drawn on, their class name and the stored names of their links.
template <typename TFace>
struct TSysButtonFamily;

template <>
struct TSysButtonFamily<TActiveBitmap> {
  static constexpr std::string_view ClassName = "TSystemButton";
  static constexpr std::string_view Hover = "BitmapHot", Down = "BitmapPressed";
  static constexpr bool StoresRollPanel = false;
};

template <>
struct TSysButtonFamily<TBitmapSkinObject> {
  static constexpr std::string_view ClassName = "TSysButtonSkinObject";
  static constexpr std::string_view Hover = "BitmapHover", Down = "BitmapDown";
  static constexpr bool StoresRollPanel = true;
};

// A frame button: close, minimise, roll up, the system menu's icon... The
// mouse drives its press state; it acts on a release after a press over it,
// and hides by the form's window state and border icons.
template <typename TFace>
class TSysButton : public TFace {
 public:
  using TFamily = TSysButtonFamily<TFace>;

  int32_t Action = sbaNone;     // TSkinAction
  TSkinBitmapLink Hover, Down;  // the looks under the pointer and held down
  std::string RollPanel;        // the roll panel sbaRollPanel toggles

  // 0 up, 1 under the pointer, 2 held down.
  int32_t Press() const { return FPress; }

  std::string_view ClassName() const override { return TFamily::ClassName; }
  void ForEachLink(const std::function<void(TSkinBitmapLink&)>& visit) override;
  void SetState(int32_t state) override;
  void PaintTo(TSkinBitmap& target) override;
  void MouseEnter() override;
  void MouseLeave() override { SetPress(0); }
  void MouseDown(TMouseButton button, uint32_t shift, int32_t x, int32_t y) override;
  void MouseMove(uint32_t shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, uint32_t shift, int32_t x, int32_t y) override;
  void DoubleClick(TMouseButton button) override;

 protected:
  void DefinePublished(TPropertyList& properties) override;
  const TSkinBitmapLink& PaintLink() const override;

 private:
  void SetPress(int32_t press);
  void Perform();

  int32_t FPress = 0;
  uint32_t FShift = 0;  // TShiftState bits as MouseMove last saw them
};

using TSystemButton = TSysButton<TActiveBitmap>;             // the older object family's
using TSysButtonSkinObject = TSysButton<TBitmapSkinObject>;  // the newer one's
extern template class TSysButton<TActiveBitmap>;
extern template class TSysButton<TBitmapSkinObject>;

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
