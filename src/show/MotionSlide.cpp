#include "show/MotionSlide.h"

#include <algorithm>
#include <cmath>

#include "graphics/Resample.h"
#include "show/SlideComposer.h"

namespace pixvane {
namespace {

void FillBlack(TBitmap& slide, const TRect& rect) {
  const TRect shown = rect.Intersect(slide.Bounds());
  if (shown.IsEmpty()) return;
  for (int32_t y = shown.Top; y < shown.Bottom; ++y)
    std::fill_n(slide.ScanLine(y) + shown.Left * TBitmap::BytesPerPixel,
                shown.Width() * TBitmap::BytesPerPixel, uint8_t{0});
}

// Black over area, but for inner.
void FillAround(TBitmap& slide, const TRect& area, const TRect& inner) {
  FillBlack(slide, {area.Left, area.Top, area.Right, inner.Top});
  FillBlack(slide, {area.Left, inner.Bottom, area.Right, area.Bottom});
  FillBlack(slide, {area.Left, inner.Top, inner.Left, inner.Bottom});
  FillBlack(slide, {inner.Right, inner.Top, area.Right, inner.Bottom});
}

struct TSize {
  int32_t Width, Height;
};

// The size the picture is prepared at: its largest placement, zoomed.
TSize ZoomedSize(const std::vector<TRect>& placements, double zoom) {
  int32_t width = 1, height = 1;
  for (const TRect& placement : placements) {
    width = std::max(width, placement.Width());
    height = std::max(height, placement.Height());
  }
  return {static_cast<int32_t>(std::lround(width * zoom)),
          static_cast<int32_t>(std::lround(height * zoom))};
}

}  // namespace

int MotionDecodeScale(const TJPEGImage& graphic, TScaleMode mode, double zoom,
                      const std::vector<TRect>& areas) {
  const TSize zoomed = ZoomedSize(PlacePictures(graphic, mode, areas), zoom);
  return DecodeScale(graphic, zoomed.Width, zoomed.Height);
}

TMotionSlide::TMotionSlide(const TJPEGImage& graphic, TScaleMode mode, double zoom,
                           const std::vector<TRect>& areas, const TMotionDraw& draw, int threads)
    : FAreas(areas), FPlacements(PlacePictures(graphic, mode, areas)) {
  double roomX = 0, roomY = 0;
  for (size_t i = 0; i < areas.size(); ++i) {
    const TRect shown = FPlacements[i].Intersect(areas[i]);
    roomX = std::max(roomX, FPlacements[i].Width() * zoom - shown.Width());
    roomY = std::max(roomY, FPlacements[i].Height() * zoom - shown.Height());
  }
  const TSize zoomed = ZoomedSize(FPlacements, zoom);
  TBitmap decoded =
      graphic.Decode(DecodeScale(graphic, zoomed.Width, zoomed.Height), nullptr, threads);
  FPicture.SetSize(zoomed.Width, zoomed.Height);
  DrawScaled(FPicture, FPicture.Bounds(), FPicture.Bounds(), decoded, threads);
  FPath = TMotionPath::Make(draw, zoom, roomX, roomY);
}

void TMotionSlide::Draw(TBitmap& slide, double progress) const {
  for (size_t i = 0; i < FAreas.size(); ++i) {
    const TMotionFrame frame = FPath.At(progress, FPlacements[i], FAreas[i]);
    if (frame.Clip.IsEmpty()) {
      FillBlack(slide, FAreas[i]);
      continue;
    }
    FillAround(slide, FAreas[i], frame.Clip);
    DrawBilinear(slide, frame.Clip, frame.Left, frame.Top, frame.Width, frame.Height, FPicture);
  }
}

}  // namespace pixvane
