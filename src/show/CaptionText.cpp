#include "show/CaptionText.h"

#include "base/MulDiv.h"

namespace pixvane {

TTextFont TCaptionText::ScreenFont(const TFont& font) const {
  TTextFont screen = font;
  const int32_t points = -MulDiv(font.Height, 72, FPixelsPerInch);
  screen.Height = -MulDiv(points, FPixelsPerInch, 72);
  return screen;
}

void TCaptionText::MeasureText(const TStoredText& text, const TFont& font, int32_t& cx,
                               int32_t& cy) {
  const TTextFont screen = ScreenFont(font);
  const TPoint extent =
      text.Utf8 ? TextExtentUtf8(screen, text.Bytes) : TextExtent(screen, text.Bytes);
  cx = extent.X;
  cy = extent.Y;
}

TCoverage TCaptionText::TextCoverage(const TStoredText& text, const TFont& font) {
  const TTextFont screen = ScreenFont(font);
  return text.Utf8 ? RasterizeUtf8(screen, text.Bytes) : RasterizeText(screen, text.Bytes);
}

}  // namespace pixvane
