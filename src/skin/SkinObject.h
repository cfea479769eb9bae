#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/Geometry.h"
#include "graphics/Region.h"
#include "package/Font.h"
#include "package/Persistent.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinBitmapLink.h"
#include "skin/SkinHost.h"
#include "skin/SkinTypes.h"

namespace pixvane {

// A named part of a skin: a window frame, a caption, a button face. Each
// object has a rectangle in the coordinates of the bitmap its tree paints
// into, published properties that a skin stores, runtime fields its host
// control sets before each paint, and the children it owns, in order.
//
// A control uses its tree in one way: it sets State, Text, Active and the
// root's rectangle (SetBounds lays the children out), then PaintTo paints
// the tree into a TSkinBitmap, and MakeRegion gives the window's shape.
class TSkinObject : public TPersistent {
 public:
  TSkinObject();
  ~TSkinObject() override;
  TSkinObject(const TSkinObject&) = delete;
  TSkinObject& operator=(const TSkinObject&) = delete;

  // Published properties.
  std::string Name;
  int32_t Align = saNone;    // TSkinAlign
  int32_t Color = clWhite;   // 00BBGGRR or a system colour
  bool DrawIfOwner = false;  // an object with children paints its own face too
  TFont Font;
  int32_t Kind = skNone;  // TSkinKind
  int32_t MarginLeft = 0, MarginRight = 0, MarginTop = 0, MarginBottom = 0;
  int32_t TextAlign = taLeft;   // TSkinTextAlign
  int32_t TextEffect = teNone;  // TSkinTextEffect
  int32_t TextMarginLeft = 0, TextMarginRight = 0, TextMarginTop = 0;

  // Runtime fields, set by the host control.
  int32_t State = StateNormal;  // set through SetState
  bool Active = false;          // set through SetActive
  bool Visible = true;          // an invisible object is neither placed nor painted
  bool Enabled = true;          // false draws the texts grey
  std::string Text;
  std::string SideText;  // drawn with the mirrored alignment

  std::string_view ClassName() const override { return "TSkinObject"; }
  // The published properties in stored order, then the children
  // ("Objects"). Classes add theirs in DefinePublished.
  void DefineProperties(TPropertyList& properties) final;
  std::string ObjectName() const override { return Name; }
  void SetObjectName(const std::string& name) override { Name = name; }

  // Geometry. A negative width or height becomes 0; a changed rectangle
  // remembers the old size and lays the children out again.
  int32_t Left() const { return FLeft; }
  int32_t Top() const { return FTop; }
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  TRect BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  void SetBounds(const TRect& rect) { SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height()); }
  // Places the visible children by their Align, pass by pass.
  void Realign();
  // Multiplies the rectangle and the remembered size by percent / 100,
  // without a layout: the whole tree is scaled alike (SkinScale.h).
  void ScaleBounds(int percent);

  // The tree.
  TSkinObject* Parent() const { return FParent; }
  int ChildCount() const { return static_cast<int>(FChildren.size()); }
  TSkinObject* Child(int index) const;  // nullptr out of range
  void AddChild(std::unique_ptr<TSkinObject> child);
  // This object or the first match depth-first, children in order.
  TSkinObject* FindByKind(int32_t kind);
  TSkinObject* FindByName(std::string_view name);  // ignoring ASCII case
  // How deep the object sits: 0 at the top.
  int Depth() const;
  // The depth an object record is read at, so that reading its children
  // can refuse nesting without end before they are attached.
  void SetRecordDepth(int depth) { FRecordDepth = depth; }

  // Whole-tree settings.
  void SetActive(bool active);
  void SetHost(TSkinHost* host);
  TSkinHost* Host() const { return FHost; }
  void SetBitmaps(const TSkinBitmapList* bitmaps);
  const TSkinBitmapList* Bitmaps() const { return FBitmaps; }

  // The virtual operations, in the order the object model lists them.
  virtual const TFont& GetFont() const { return Font; }
  virtual void SetState(int32_t state);
  // Resolves the bitmap links, children before the object itself.
  virtual void AfterLoad();
  virtual void PaintTo(TSkinBitmap& target);
  // The pixels the object covers, in target coordinates.
  virtual TRegion MakeRegion();
  virtual void ShiftHue(int32_t delta);
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  virtual void MouseDown(TMouseButton button, uint32_t shift, int32_t x, int32_t y) {}
  virtual void MouseMove(uint32_t shift, int32_t x, int32_t y) {}
  virtual void MouseUp(TMouseButton button, uint32_t shift, int32_t x, int32_t y) {}
  virtual void DoubleClick(TMouseButton button) {}
  virtual void SetCharset(int32_t charset);

  // Asks the host to repaint this object (message 1921), when it is visible
  // and has one.
  void RequestRepaint();
  // Every bitmap link of the object (not of its children).
  virtual void ForEachLink(const std::function<void(TSkinBitmapLink&)>& visit) {}

 protected:
  virtual void DefinePublished(TPropertyList& properties);
  // The fill colour a paint uses; state-dependent classes override it.
  virtual int32_t PaintColor() const { return Color; }
  // The object's region when it counts alone: its rectangle.
  virtual TRegion OwnRegion();
  bool HasArea() const { return FWidth > 0 && FHeight > 0; }
  // The texts: Text (or its separator) and SideText, in the current font.
  void PaintTexts(TSkinBitmap& target);
  void PaintChildren(TSkinBitmap& target);
  // The rectangle, moved without laying the children out (the shape
  // region paints an object alone at (0, 0)).
  void MoveTo(int32_t left, int32_t top) {
    FLeft = left;
    FTop = top;
  }

 private:
  void ReadChildren(TStream& stream);
  void WriteChildren(TStream& stream) const;
  void PlaceCorners();
  void PaintText(TSkinBitmap& target, const std::string& text, TSkinTextAlign align);

  int32_t FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  int32_t FOldWidth = 0, FOldHeight = 0;
  int FRecordDepth = 0;
  TSkinObject* FParent = nullptr;
  std::vector<std::unique_ptr<TSkinObject>> FChildren;
  TSkinHost* FHost = nullptr;
  const TSkinBitmapList* FBitmaps = nullptr;  // owned by the skin source
};

}  // namespace pixvane
