#include "show/CaptionText.h"

#include "base/MulDiv.h"

namespace pixvane {

TTextFont TCaptionText::ScreenFont(const TFont& font) const {
  TTextFont screen = font;
  const int32_t points = -MulDiv(font.Height, 72, FPixelsPerInch);
  screen.Height = -MulDiv(points, FPixelsPerInch, 72);
  return screen;
}

namespace {

// The cache key: the same bytes read as UTF-8 or in the code page are
// different texts.
std::string KeyOf(const TStoredText& text) {
  return (text.Utf8 ? "u" : "c") + text.Bytes;
}

// Enough for the wrapping's trial measurements of a long caption; a
// bound, since every slide brings new texts.
constexpr size_t MaxExtents = 1024, MaxCoverages = 64;

}  // namespace

void TCaptionText::UseFont(const TTextFont& screen) {
  if (!(screen == FCachedFont)) {
    FCachedFont = screen;
    FExtents.clear();
    FCoverages.clear();
  }
  if (FExtents.size() >= MaxExtents) FExtents.clear();
  if (FCoverages.size() >= MaxCoverages) FCoverages.clear();
}

void TCaptionText::MeasureText(const TStoredText& text, const TFont& font, int32_t& cx,
                               int32_t& cy) {
  const TTextFont screen = ScreenFont(font);
  UseFont(screen);
  auto [at, added] = FExtents.try_emplace(KeyOf(text));
  if (added)
    at->second = text.Utf8 ? TextExtentUtf8(screen, text.Bytes) : TextExtent(screen, text.Bytes);
  cx = at->second.X;
  cy = at->second.Y;
}

TCoverage TCaptionText::TextCoverage(const TStoredText& text, const TFont& font) {
  const TTextFont screen = ScreenFont(font);
  UseFont(screen);
  auto [at, added] = FCoverages.try_emplace(KeyOf(text));
  if (added)
    at->second = text.Utf8 ? RasterizeUtf8(screen, text.Bytes) : RasterizeText(screen, text.Bytes);
  return at->second;
}

}  // namespace pixvane
