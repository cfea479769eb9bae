#include "skin/SkinText.h"

namespace pixvane {
namespace {

// Non-premultiplied "over" of a coverage value in one colour: on a
// transparent target the text keeps its own alpha, so a render to PNG shows
// smooth edges.
TSkinPixel Over(TSkinPixel target, uint32_t rgb, uint32_t coverage) {
  const uint32_t targetAlpha = target >> 24;
  const uint32_t outAlpha = coverage + targetAlpha * (255 - coverage) / 255;
  if (outAlpha == 0) return target;
  TSkinPixel out = outAlpha << 24;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t s = (rgb >> shift) & 0xFF, t = (target >> shift) & 0xFF;
    out |= ((s * coverage + t * targetAlpha * (255 - coverage) / 255 + outAlpha / 2) / outAlpha)
           << shift;
  }
  return out;
}

}  // namespace

TSkinTextAlign MirroredAlign(TSkinTextAlign align) {
  switch (align) {
    case taTopLeft:
      return taTopRight;
    case taTopRight:
      return taTopLeft;
    case taLeft:
      return taRight;
    case taRight:
      return taLeft;
    case taBottomLeft:
      return taBottomRight;
    case taBottomRight:
      return taBottomLeft;
    default:
      return align;
  }
}

void DrawSkinText(TSkinBitmap& target, const TRect& rect, std::string_view text, const TFont& font,
                  TColor color, TTextPlacement placement) {
  const TRect clip = rect.Intersect(target.Bounds());
  if (text.empty() || clip.IsEmpty()) return;
  const TCoverage mask = RasterizeText(font, text, placement.RightToLeftReading);
  const int32_t column = placement.Align % 3, row = placement.Align / 3;
  const int32_t x = column == 0   ? rect.Left
                    : column == 1 ? rect.Left + (rect.Width() - mask.Width) / 2
                                  : rect.Right - mask.Width;
  const int32_t y = row == 0   ? rect.Top
                    : row == 1 ? rect.Top + (rect.Height() - mask.Height) / 2
                               : rect.Bottom - mask.Height;
  const TRect box = TRect{x, y, x + mask.Width, y + mask.Height}.Intersect(clip);
  if (box.IsEmpty()) return;
  const TSkinPixel rgb = OpaquePixel(color) & 0xFFFFFF;
  for (int32_t py = box.Top; py < box.Bottom; ++py) {
    const uint8_t* coverage = mask.Alpha.data() + static_cast<size_t>(py - y) * mask.Width;
    TSkinPixel* line = target.ScanLine(py);
    for (int32_t px = box.Left; px < box.Right; ++px)
      if (const uint8_t c = coverage[px - x]) line[px] = Over(line[px], rgb, c);
  }
}

std::string EllipsisText(const TFont& font, const std::string& text, int32_t width) {
  if (TextExtent(font, text).X <= width) return text;
  // Widths grow with the length, so the longest fitting beginning is found
  // by halving.
  size_t low = 0, high = text.size();
  while (low < high) {
    const size_t mid = (low + high + 1) / 2;
    if (TextExtent(font, text.substr(0, mid) + "...").X <= width)
      low = mid;
    else
      high = mid - 1;
  }
  return text.substr(0, low) + "...";
}

}  // namespace pixvane
