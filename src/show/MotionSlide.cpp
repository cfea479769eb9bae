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

}  // namespace

TMotionSlide::TMotionSlide(const TJPEGImage& graphic, TScaleMode mode, double zoom,
                           const std::vector<TRect>& areas, const TMotionDraw& draw, int threads)
    : FAreas(areas) {
  int32_t width = 1, height = 1;
  double roomX = 0, roomY = 0;
  for (const TRect& area : areas) {
    const TRect placement = PlacePicture(mode, graphic.Width(), graphic.Height(), area);
    FPlacements.push_back(placement);
    width = std::max(width, placement.Width());
    height = std::max(height, placement.Height());
    const TRect shown = placement.Intersect(area);
    roomX = std::max(roomX, placement.Width() * zoom - shown.Width());
    roomY = std::max(roomY, placement.Height() * zoom - shown.Height());
  }
  const int32_t zoomedWidth = static_cast<int32_t>(std::lround(width * zoom));
  const int32_t zoomedHeight = static_cast<int32_t>(std::lround(height * zoom));
  TBitmap decoded =
      graphic.Decode(DecodeScale(graphic, zoomedWidth, zoomedHeight), nullptr, threads);
  FPicture.SetSize(zoomedWidth, zoomedHeight);
  DrawScaled(FPicture, FPicture.Bounds(), FPicture.Bounds(), decoded, threads);
  FPath = TMotionPath::Make(draw, zoom, roomX, roomY);
}

void TMotionSlide::Draw(TBitmap& slide, double progress, int threads) const {
  for (size_t i = 0; i < FAreas.size(); ++i) {
    const TMotionFrame frame = FPath.At(progress, FPlacements[i], FAreas[i]);
    if (frame.Clip.IsEmpty()) {
      FillBlack(slide, FAreas[i]);
      continue;
    }
    FillAround(slide, FAreas[i], frame.Clip);
    DrawBilinear(slide, frame.Clip, frame.Left, frame.Top, frame.Width, frame.Height, FPicture,
                 threads);
  }
}

}  // namespace pixvane
