#pragma once
#include <cstdint>

#include "graphics/Geometry.h"
#include "skin/SkinTypes.h"

namespace pixvane {

class TSkinBitmap;
class TSkinObject;

// The host control's reading order.
enum TBiDiMode : int32_t {
  bdLeftToRight,
  bdRightToLeft,
  bdRightToLeftNoAlign,
  bdRightToLeftReadingOnly
};

// What a skin tree needs of the control whose skin it draws. The Windows
// controls implement it on their window; tests implement it with fakes.
class TSkinHost {
 public:
  virtual ~TSkinHost() = default;
  // Message 1921: repaint the part of the control that object draws.
  virtual void RepaintObject(TSkinObject& object) = 0;
  virtual TBiDiMode BiDiMode() const { return bdLeftToRight; }

  // The rest concerns skinned forms: their system buttons hide by window
  // state and border icons, and act on the form.
  virtual bool IsSkinnedForm() const { return false; }
  virtual uint32_t BorderIcons() const { return 0xFFFFFFFF; }  // TSkinBorderIcon bits
  // Close, help, minimise, ... (never sbaNone or sbaRollPanel, which the
  // tree handles itself). sbaCustom is the form's custom-button event.
  virtual void PerformAction(TSkinAction action, TSkinObject& button) {}
  // Draws the window's icon at the system's small-icon size with its
  // top-left at `at`; false when there is no window to take an icon from.
  virtual bool DrawWindowIcon(TSkinBitmap& target, TPoint at) { return false; }
};

// Mouse buttons as the platform reports them, and of its shift state the
// one bit a skin object reads: the left button held.
enum TMouseButton : int32_t { mbLeft, mbRight, mbMiddle };
enum TShiftState : uint32_t { ssLeft = 8 };

}  // namespace pixvane
