#include "skin/SkinPaint.h"

#include <algorithm>
#include <vector>

namespace pixvane {
namespace {

// The colour channels as the model blends them; the alpha of the result is
// that of one layer over another, so an opaque target stays opaque.
TSkinPixel Blend(TSkinPixel source, TSkinPixel target) {
  const uint32_t alpha = source >> 24;
  TSkinPixel out = (alpha + (target >> 24) * (255 - alpha) / 255) << 24;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t s = (source >> shift) & 0xFF, t = (target >> shift) & 0xFF;
    out |= ((s * alpha + 128) / 256 + (t * (255 - alpha) + 128) / 256) << shift;
  }
  return out;
}

void BlendRun(TSkinPixel* target, const TSkinPixel* source, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    const uint32_t alpha = source[i] >> 24;
    if (alpha == 255)
      target[i] = source[i];
    else if (alpha != 0)
      target[i] = Blend(source[i], target[i]);
  }
}

// Unscaled copy of a source part with its top-left at (x, y).
void DrawUnscaled(TSkinBitmap& target, int32_t x, int32_t y, const TSkinBitmap& source,
                  const TRect& part, const TRect& clip) {
  const TRect dest =
      TRect{x, y, x + part.Width(), y + part.Height()}.Intersect(clip).Intersect(target.Bounds());
  if (dest.IsEmpty()) return;
  for (int32_t row = dest.Top; row < dest.Bottom; ++row)
    BlendRun(target.ScanLine(row) + dest.Left,
             source.ScanLine(part.Top + row - y) + part.Left + dest.Left - x, dest.Width());
}

void DrawTiled(TSkinBitmap& target, const TRect& dest, const TSkinBitmap& source,
               const TRect& part) {
  const TRect clip = dest.Intersect(target.Bounds());
  if (clip.IsEmpty()) return;
  const int32_t w = part.Width(), h = part.Height();
  for (int32_t row = clip.Top; row < clip.Bottom; ++row) {
    const TSkinPixel* line = source.ScanLine(part.Top + (row - dest.Top) % h) + part.Left;
    TSkinPixel* out = target.ScanLine(row);
    for (int32_t x = clip.Left; x < clip.Right;) {
      const int32_t sx = (x - dest.Left) % w, run = std::min(w - sx, clip.Right - x);
      BlendRun(out + x, line + sx, run);
      x += run;
    }
  }
}

void DrawStretched(TSkinBitmap& target, const TRect& dest, const TSkinBitmap& source,
                   const TRect& part) {
  const TRect clip = dest.Intersect(target.Bounds());
  if (clip.IsEmpty()) return;
  std::vector<TSkinPixel> row(static_cast<size_t>(clip.Width()));
  std::vector<int32_t> columns(row.size());
  for (int32_t x = clip.Left; x < clip.Right; ++x)
    columns[x - clip.Left] =
        part.Left + static_cast<int32_t>(int64_t{x - dest.Left} * part.Width() / dest.Width());
  for (int32_t y = clip.Top; y < clip.Bottom; ++y) {
    const TSkinPixel* line = source.ScanLine(
        part.Top + static_cast<int32_t>(int64_t{y - dest.Top} * part.Height() / dest.Height()));
    for (size_t i = 0; i < row.size(); ++i) row[i] = line[columns[i]];
    BlendRun(target.ScanLine(y) + clip.Left, row.data(), clip.Width());
  }
}

}  // namespace

void FillSkinRect(TSkinBitmap& target, const TRect& rect, TColor color) {
  const TRect clip = rect.Intersect(target.Bounds());
  if (clip.IsEmpty()) return;
  const TSkinPixel pixel = OpaquePixel(color);
  for (int32_t y = clip.Top; y < clip.Bottom; ++y)
    std::fill_n(target.ScanLine(y) + clip.Left, clip.Width(), pixel);
}

void DrawSkinPart(TSkinBitmap& target, const TRect& dest, const TSkinBitmap& source,
                  const TRect& sourceRect, TSkinTileStyle style) {
  const TRect part = sourceRect.Intersect(source.Bounds());
  if (part.IsEmpty() || dest.IsEmpty()) return;
  switch (style) {
    case tsStretch:
      return DrawStretched(target, dest, source, part);
    case tsCenter:
      return DrawUnscaled(target, dest.Left + (dest.Width() - part.Width()) / 2,
                          dest.Top + (dest.Height() - part.Height()) / 2, source, part,
                          target.Bounds());
    default:
      return DrawTiled(target, dest, source, part);
  }
}

void DrawSkinBox(TSkinBitmap& target, const TRect& dest, const TSkinBitmap& source,
                 const TRect& sourceRect, const TBoxMargins& m, TSkinTileStyle style,
                 TSkinTileStyle borderStyle) {
  if (m.IsZero()) return DrawSkinPart(target, dest, source, sourceRect, style);
  const TRect s = sourceRect;
  const int32_t l = dest.Left, t = dest.Top, r = dest.Right, b = dest.Bottom;
  struct TPiece {
    TRect Source, Dest;
    TSkinTileStyle Style;
  };
  const TPiece pieces[] = {
      {{s.Left + m.Left, s.Top + m.Top, s.Right - m.Right, s.Bottom - m.Bottom},
       {l + m.Left, t + m.Top, r - m.Right, b - m.Bottom},
       style},
      {{s.Left + m.Left, s.Top, s.Right - m.Right, s.Top + m.Top},
       {l + m.Left, t, r - m.Right, t + m.Top},
       borderStyle},
      {{s.Left + m.Left, s.Bottom - m.Bottom, s.Right - m.Right, s.Bottom},
       {l + m.Left, b - m.Bottom, r - m.Right, b},
       borderStyle},
      {{s.Left, s.Top + m.Top, s.Left + m.Left, s.Bottom - m.Bottom},
       {l, t + m.Top, l + m.Left, b - m.Bottom},
       borderStyle},
      {{s.Right - m.Right, s.Top + m.Top, s.Right, s.Bottom - m.Bottom},
       {r - m.Right, t + m.Top, r, b - m.Bottom},
       borderStyle},
  };
  for (const TPiece& piece : pieces)
    if (!piece.Dest.IsEmpty()) DrawSkinPart(target, piece.Dest, source, piece.Source, piece.Style);
  // The corners, unscaled; cut to the source, as every part is.
  const TRect corners[] = {
      {s.Left, s.Top, s.Left + m.Left, s.Top + m.Top},
      {s.Right - m.Right, s.Top, s.Right, s.Top + m.Top},
      {s.Left, s.Bottom - m.Bottom, s.Left + m.Left, s.Bottom},
      {s.Right - m.Right, s.Bottom - m.Bottom, s.Right, s.Bottom},
  };
  const TPoint at[] = {{l, t}, {r - m.Right, t}, {l, b - m.Bottom}, {r - m.Right, b - m.Bottom}};
  for (int i = 0; i < 4; ++i) {
    const TRect part = corners[i].Intersect(source.Bounds());
    if (!part.IsEmpty() && !corners[i].IsEmpty())
      DrawUnscaled(target, at[i].X + part.Left - corners[i].Left,
                   at[i].Y + part.Top - corners[i].Top, source, part, target.Bounds());
  }
}

}  // namespace pixvane
