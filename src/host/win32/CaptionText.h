#pragma once
#include <windows.h>

#include <string>

#include "package/Font.h"
#include "base/Bitmap.h"

namespace pixvane {

// The slide's caption through GDI: the bitmap font takes only the size,
// colour and face of the package's font (its style and character set are
// the bitmap font's own), and the text is drawn with no background box.
class TCaptionText {
 public:
  explicit TCaptionText(const TFont& font);
  ~TCaptionText();
  TCaptionText(const TCaptionText&) = delete;
  TCaptionText& operator=(const TCaptionText&) = delete;

  SIZE Measure(const std::string& text) const;
  // Draws text with its top-left corner at (x, y) over what the slide holds.
  void Draw(TBitmap& slide, int32_t x, int32_t y, const std::string& text) const;

 private:
  HDC FDC;
  HFONT FFont;
  HGDIOBJ FOldFont;
  COLORREF FColor;
};

}  // namespace pixvane
