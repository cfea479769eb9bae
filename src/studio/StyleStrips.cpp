#include "studio/StyleStrips.h"

#include "graphics/Copy.h"
#include "maker/JpegEncoder.h"
#include "maker/StyleSheet.h"
#include "maker/TransitionRender.h"
#include "transition/styles/StyleTable.h"

namespace pixvane::studio {

std::string TStyleStrips::Strip(int style) {
  if (style < 1 || style > StyleCount) return {};
  {
    std::lock_guard<std::mutex> lock(FLock);
    auto found = FStrips.find(style);
    if (found != FStrips.end()) return found->second;
  }
  static const TBitmap old = maker::SamplePicture(Width, Height, true);
  static const TBitmap picture = maker::SamplePicture(Width, Height, false);
  TBitmap strip(Width * Frames, Height);
  const int step = 100 / (Frames - 2);  // the last frame shows the picture whole
  for (int i = 0; i < Frames; ++i)
    Draw(strip, i * Width, 0,
         maker::RenderOneFrame(old, picture, style, std::min(100, i * step), step, 0));
  std::vector<uint8_t> jpeg = maker::EncodeJpeg(strip, 80);
  std::lock_guard<std::mutex> lock(FLock);
  return FStrips[style] = std::string(jpeg.begin(), jpeg.end());
}

}  // namespace pixvane::studio
