#include "show/SlideComposer.h"

#include <algorithm>

#include "base/MulDiv.h"
#include "graphics/Copy.h"
#include "graphics/Resample.h"

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

TBitmap TSlideComposer::ComposeSlide(const TJPEGImage* graphic, int32_t width, int32_t height,
                                     const std::vector<TMonitor>& monitors) {
  TBitmap slide(width, height);  // black
  std::vector<TRect> areas;
  for (const TMonitor& monitor : monitors) areas.push_back(monitor.Bounds);
  if (graphic && graphic->Width() > 0 && graphic->Height() > 0)
    DrawPicture(slide, *graphic, FSettings.Scale(), areas);
  if (!FSettings.Text.empty())
    for (const TMonitor& monitor : monitors) DrawCaption(slide, monitor);
  return slide;
}

TBitmap TSlideComposer::ComposeEach(const std::vector<const TJPEGImage*>& graphics, int32_t width,
                                    int32_t height, const std::vector<TMonitor>& monitors) {
  TBitmap slide(width, height);  // black
  for (size_t i = 0; i < monitors.size() && i < graphics.size(); ++i) {
    const TJPEGImage* graphic = graphics[i];
    if (graphic && graphic->Width() > 0 && graphic->Height() > 0)
      DrawPicture(slide, *graphic, FSettings.Scale(), {monitors[i].Bounds});
  }
  if (!FSettings.Text.empty())
    for (const TMonitor& monitor : monitors) DrawCaption(slide, monitor);
  return slide;
}

void DrawScaledPicture(TBitmap& slide, const TJPEGImage& graphic, const std::vector<TRect>& areas,
                       const std::vector<TRect>& placements) {
  int32_t needWidth = 1, needHeight = 1;
  for (const TRect& placement : placements) {
    needWidth = std::max(needWidth, placement.Width());
    needHeight = std::max(needHeight, placement.Height());
  }
  TBitmap picture = graphic.Decode(DecodeScale(graphic, needWidth, needHeight));
  for (size_t i = 0; i < areas.size(); ++i) DrawScaled(slide, areas[i], placements[i], picture);
}

void TSlideComposer::DrawPicture(TBitmap& slide, const TJPEGImage& graphic, TScaleMode mode,
                                 const std::vector<TRect>& areas) {
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
  DrawScaledPicture(slide, graphic, areas, placements);
}

void TSlideComposer::DrawCaption(TBitmap& slide, const TMonitor& monitor) {
  const TRect& area = monitor.Bounds;
  int32_t cx = 0, cy = 0;
  FPainter.MeasureText(FSettings.Text, FSettings.TextFont, cx, cy);
  // The margin is given for a 96 dpi screen and keeps its look on denser ones.
  const int32_t margin = MulDiv(std::max(FSettings.CaptionMargin, 0), monitor.PixelsPerInch, 96);
  const int32_t x = area.Left + area.Width() / 2 - cx / 2;
  const int32_t y = area.Bottom - cy - margin;
  if (FSettings.lCaptionShadow)
    DrawShadow(slide, area, x, y, FPainter.TextCoverage(FSettings.Text, FSettings.TextFont));
  FPainter.DrawText(slide, area, x, y, FSettings.Text, FSettings.TextFont);
}

}  // namespace pixvane
