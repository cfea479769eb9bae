#pragma once
#include <windows.h>

#include <string>

#include "base/win32/Handles.h"
#include "graphics/Bitmap.h"
#include "package/Font.h"
#include "show/CaptionShadow.h"

namespace pixvane {

// The slide's caption through GDI, in the package's whole font (face, size,
// colour, style and character set), drawn with no background box.
class TCaptionText {
 public:
  explicit TCaptionText(const TFont& font);

  SIZE Measure(const std::string& text) const;
  // Draws text with its top-left corner at (x, y) over what the slide holds,
  // inside clip only.
  void Draw(TBitmap& slide, const TRect& clip, int32_t x, int32_t y, const std::string& text) const;
  // How much of each pixel of the measured box the text covers.
  TCoverage Coverage(const std::string& text) const;

 private:
  TMemoryDC FDC;
  TGdiFont FFont;
  TSelection FFontSelection;  // ends first: the font is deleted unselected
  COLORREF FColor;
};

}  // namespace pixvane
