#include "show/CaptionText.h"

#include "base/MulDiv.h"

namespace pixvane {

TTextFont TCaptionText::ScreenFont(const TFont& font) const {
  TTextFont screen = font;
  const int32_t points = -MulDiv(font.Height, 72, FPixelsPerInch);
  screen.Height = -MulDiv(points, FPixelsPerInch, 72);
  return screen;
}

void TCaptionText::MeasureText(const std::string& text, const TFont& font, int32_t& cx,
                               int32_t& cy) {
  const TPoint extent = TextExtent(ScreenFont(font), text);
  cx = extent.X;
  cy = extent.Y;
}

TCoverage TCaptionText::TextCoverage(const std::string& text, const TFont& font) {
  return RasterizeText(ScreenFont(font), text);
}

}  // namespace pixvane
