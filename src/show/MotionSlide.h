#pragma once
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/Geometry.h"
#include "package/Picture.h"
#include "package/SSFileLocations.h"
#include "show/Motion.h"

namespace pixvane {

// The frames of a slide that pans and zooms. The picture is decoded and
// scaled once, at its largest placement times the full zoom, so every frame
// only samples it bilinearly at a scale between 1 and the zoom; the path is
// drawn once for all its areas.
class TMotionSlide {
 public:
  // The picture is scaled to the zoomed size on as many threads as given.
  TMotionSlide(const TJPEGImage& graphic, TScaleMode mode, double zoom,
               const std::vector<TRect>& areas, const TMotionDraw& draw, int threads = 1);

  // The picture at progress 0 to 1 on every area of slide. What the still
  // picture leaves black (bars, the edges of a small picture) is made black
  // again, so a caption drawn there last frame does not build up. The
  // picture is sampled on as many threads as given.
  void Draw(TBitmap& slide, double progress, int threads = 1) const;

 private:
  TBitmap FPicture;
  std::vector<TRect> FAreas, FPlacements;
  TMotionPath FPath;
};

}  // namespace pixvane
