#pragma once
#include <windows.h>

#include <string>

#include "base/Bitmap.h"
#include "base/win32/Handles.h"
#include "package/Font.h"

namespace pixvane {

// The slide's caption through GDI: the bitmap font takes only the size,
// colour and face of the package's font (its style and character set are
// the bitmap font's own), and the text is drawn with no background box.
class TCaptionText {
 public:
  explicit TCaptionText(const TFont& font);

  SIZE Measure(const std::string& text) const;
  // Draws text with its top-left corner at (x, y) over what the slide holds.
  void Draw(TBitmap& slide, int32_t x, int32_t y, const std::string& text) const;

 private:
  TMemoryDC FDC;
  TGdiFont FFont;
  TSelection FFontSelection;  // ends first: the font is deleted unselected
  COLORREF FColor;
};

}  // namespace pixvane
