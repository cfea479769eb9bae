#include "show/DecodeHeadStart.h"

#include <string>
#include <vector>

#include "base/Stream.h"
#include "package/Package.h"
#include "package/Picture.h"
#include "show/MotionSlide.h"
#include "show/PictureOrder.h"

namespace pixvane {

TDecodeHeadStart::TDecodeHeadStart(TOpen open, TShowScreen likely)
    : FWorker([this, open = std::move(open), likely = std::move(likely)] { Run(open, likely); }) {}

TDecodeHeadStart::~TDecodeHeadStart() {
  if (FWorker.joinable()) FWorker.join();
}

void TDecodeHeadStart::Run(const TOpen& open, const TShowScreen& likely) {
  try {
    std::unique_ptr<TStream> file = open();
    TSSFileLocations settings;
    if (!ReadSettings(*file, settings) || settings.PicCount() == 0) return;
    TPictureOrder order(settings);
    if (order.IsRandom()) return;
    const std::optional<int32_t> first = order.Next();
    if (!first) return;
    const int64_t offset = settings.PicOffsetAt(*first);
    file->Seek(offset);
    const std::unique_ptr<TImage> image = ReadPictureObject(*file);
    const TJPEGImage* graphic = image->Picture.Graphic();
    if (!graphic || graphic->Width() <= 0 || graphic->Height() <= 0) return;
    std::vector<TRect> areas;
    for (const TMonitor& monitor : likely.Monitors) areas.push_back(monitor.Bounds);
    const int scale = settings.PanZoom()
                          ? MotionDecodeScale(*graphic, settings.Scale(), settings.Zoom(), areas)
                          : PictureDecodeScale(*graphic, settings.Scale(), areas);
    // A damaged picture is left to the show, which decodes it as it always did.
    std::vector<std::string> warnings;
    TBitmap pixels = graphic->Decode(scale, &warnings, 2);
    if (!warnings.empty()) return;
    FPixels = std::move(pixels);
    FScale = scale;
    FOffset = offset;
  } catch (...) {
    // The show reads the package again and meets the error there.
  }
}

int TDecodeHeadStart::Lend(int64_t offset, TJPEGImage& graphic) {
  if (FWorker.joinable()) FWorker.join();
  if (offset != FOffset) return 0;
  FOffset = -1;
  graphic.SetDecoded(FScale, std::move(FPixels));
  return FScale;
}

TShowScreen LikelyScreen() {
  return {1920, 1080, {{{0, 0, 1920, 1080}}}};
}

}  // namespace pixvane
