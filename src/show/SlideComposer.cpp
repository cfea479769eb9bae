#include "show/SlideComposer.h"

#include <algorithm>

#include "base/MulDiv.h"
#include "graphics/Copy.h"
#include "graphics/Resample.h"
#include "show/CaptionLayout.h"

namespace pixvane {

int DecodeScale(const TJPEGImage& graphic, int32_t width, int32_t height) {
  // libjpeg's half-size decode is as good as a filter that just covers the
  // target; its quarter and eighth sizes average whole blocks crudely and
  // need twice the target's size (and four times) for the filter to hide
  // it. Measured against a Lanczos resize of the full photo.
  for (int scale = 8; scale > 1; scale /= 2)
    if (graphic.ScaleToCover(width * scale / 2, height * scale / 2) >= scale) return scale;
  return 1;
}

TRect PlacePicture(TScaleMode mode, int32_t width, int32_t height, const TRect& area) {
  const int32_t aw = area.Width(), ah = area.Height();
  if (mode == TScaleMode::Stretch) return area;
  if (mode != TScaleMode::None) {
    // Wider than the area in proportion: fit by width, fill by height.
    const bool wider = int64_t{width} * ah > int64_t{height} * aw;
    if (wider == (mode == TScaleMode::Fit)) {
      height = std::max(1, MulDiv(height, aw, width));
      width = aw;
    } else {
      width = std::max(1, MulDiv(width, ah, height));
      height = ah;
    }
  }
  // Truncated halves, as the old centring did: an overhang is cut evenly.
  const int32_t left = area.Left + (aw - width) / 2, top = area.Top + (ah - height) / 2;
  return {left, top, left + width, top + height};
}

void TSlideComposer::DrawCaptions(TBitmap& slide, const std::vector<TMonitor>& monitors,
                                  const TStoredText& caption) {
  if (!caption.Empty())
    for (const TMonitor& monitor : monitors) DrawCaption(slide, monitor, caption);
}

void DrawScaledPicture(TBitmap& slide, const TJPEGImage& graphic, const std::vector<TRect>& areas,
                       const std::vector<TRect>& placements, int threads) {
  int32_t needWidth = 1, needHeight = 1;
  for (const TRect& placement : placements) {
    needWidth = std::max(needWidth, placement.Width());
    needHeight = std::max(needHeight, placement.Height());
  }
  TBitmap picture = graphic.Decode(DecodeScale(graphic, needWidth, needHeight), nullptr, threads);
  for (size_t i = 0; i < areas.size(); ++i)
    DrawScaled(slide, areas[i], placements[i], picture, threads);
}

void TSlideComposer::DrawPicture(TBitmap& slide, const TJPEGImage& graphic, TScaleMode mode,
                                 const std::vector<TRect>& areas, int threads) {
  std::vector<TRect> placements;
  for (const TRect& area : areas)
    placements.push_back(PlacePicture(mode, graphic.Width(), graphic.Height(), area));
  if (mode == TScaleMode::None) {
    // At its own size: every pixel as it is, cut at the monitor's edges.
    TBitmap picture = graphic.Decode(1);
    for (size_t i = 0; i < areas.size(); ++i) {
      const TRect shown = placements[i].Intersect(areas[i]);
      if (!shown.IsEmpty())
        CopyRect(slide, shown.Left, shown.Top, picture,
                 shown.Offset(-placements[i].Left, -placements[i].Top));
    }
    return;
  }
  DrawScaledPicture(slide, graphic, areas, placements, threads);
}

void TSlideComposer::DrawCaption(TBitmap& slide, const TMonitor& monitor,
                                 const TStoredText& caption) {
  const TRect& area = monitor.Bounds;
  const TFont& font = FSettings.TextFont;
  // The margin is given for a 96 dpi screen and keeps its look on denser
  // ones; it also keeps wrapped lines off the sides.
  const int32_t margin = MulDiv(std::max(FSettings.CaptionMargin, 0), monitor.PixelsPerInch, 96);
  int32_t cx = 0, cy = 0;
  auto measure = [&](const TStoredText& line) {
    FPainter.MeasureText(line, font, cx, cy);
    return cx;
  };
  const std::vector<TStoredText> lines = WrapCaption(caption, area.Width() - 2 * margin, measure);
  struct TPlaced {
    int32_t X, Y;
  };
  std::vector<TPlaced> places;
  for (size_t i = 0; i < lines.size(); ++i) {
    FPainter.MeasureText(lines[i], font, cx, cy);
    const int32_t bottomUp = static_cast<int32_t>(lines.size() - i);
    places.push_back({area.Left + area.Width() / 2 - cx / 2, area.Bottom - margin - cy * bottomUp});
  }
  // Every shadow first, so a lower line's shadow never darkens the text above.
  if (FSettings.lCaptionShadow)
    for (size_t i = 0; i < lines.size(); ++i)
      DrawShadow(slide, area, places[i].X, places[i].Y, FPainter.TextCoverage(lines[i], font));
  for (size_t i = 0; i < lines.size(); ++i)
    FPainter.DrawText(slide, area, places[i].X, places[i].Y, lines[i], font);
}

}  // namespace pixvane
