#include "skin/controls/ControlLayout.h"

#include <algorithm>

namespace pixvane {
namespace {

constexpr int32_t Step = 30;

// r's size centred in outer, halves rounded as the controls have always done.
TRect CentredIn(const TRect& outer, int32_t width, int32_t height) {
  int32_t left = outer.Left + (outer.Width() - width) / 2;
  int32_t top = outer.Top + (outer.Height() - height) / 2;
  return {left, top, left + width, top + height};
}

// Splits the content along one axis, where glyph and text both start as the
// whole of it: the glyph takes its extent at the near or far end, the text
// what lies beyond the spacing.
void SplitAlong(int32_t& glyphStart, int32_t& glyphEnd, int32_t& textStart, int32_t& textEnd,
                int32_t glyphExtent, int32_t spacing, bool glyphFirst) {
  if (glyphFirst) {
    glyphEnd = glyphStart + glyphExtent;
    textStart = glyphEnd + spacing;
  } else {
    glyphStart = glyphEnd - glyphExtent;
    textEnd = glyphStart - spacing;
  }
}

}  // namespace

int32_t SkinBitmapExtent(int32_t controlExtent) {
  return (controlExtent / Step + 1) * Step;
}

bool SkinBitmapNeedsRemaking(int32_t bitmapWidth, int32_t bitmapHeight, int32_t width,
                             int32_t height) {
  return width > bitmapWidth || height > bitmapHeight || bitmapWidth - width > Step ||
         bitmapHeight - height > Step;
}

TButtonContent ButtonContentOf(int32_t width, int32_t height, int32_t textWidth, int32_t textHeight,
                               int32_t glyphWidth, int32_t glyphHeight, TButtonLayout layout,
                               int32_t spacing, bool pressed) {
  const bool glyph = glyphWidth > 0 && glyphHeight > 0;
  const bool across = layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
  int32_t contentWidth = textWidth, contentHeight = textHeight;
  if (glyph && across) {
    contentWidth += glyphWidth + spacing;
    contentHeight = std::max(contentHeight, glyphHeight);
  } else if (glyph) {
    contentHeight += glyphHeight + spacing;
    contentWidth = std::max(contentWidth, glyphWidth);
  }
  TRect content = CentredIn({0, 0, width, height}, contentWidth, contentHeight);
  if (pressed) content = content.Offset(1, 1);

  TRect text = content, glyphPart = content;
  if (glyph && across)
    SplitAlong(glyphPart.Left, glyphPart.Right, text.Left, text.Right, glyphWidth, spacing,
               layout == TButtonLayout::blGlyphLeft);
  else if (glyph)
    SplitAlong(glyphPart.Top, glyphPart.Bottom, text.Top, text.Bottom, glyphHeight, spacing,
               layout == TButtonLayout::blGlyphTop);
  TButtonContent result;
  result.Caption = CentredIn(text, textWidth, textHeight);
  if (glyph) result.Glyph = CentredIn(glyphPart, glyphWidth, glyphHeight);
  return result;
}

TCheckBoxContent CheckBoxContentOf(int32_t width, int32_t height, int32_t boxWidth,
                                   int32_t boxHeight, int32_t spacing, int32_t textWidth,
                                   int32_t textHeight) {
  TCheckBoxContent result;
  int32_t boxTop = (height - boxHeight) / 2;
  result.Box = {0, boxTop, boxWidth, boxTop + boxHeight};
  int32_t textLeft = boxWidth + spacing, textTop = (height - textHeight) / 2;
  result.Caption = {textLeft, textTop, std::min(textLeft + textWidth, width), textTop + textHeight};
  const TRect around{result.Caption.Left - 2, result.Caption.Top - 1, result.Caption.Right + 2,
                     result.Caption.Bottom + 1};
  result.Focus = around.Intersect({0, 0, width, height});
  return result;
}

}  // namespace pixvane
