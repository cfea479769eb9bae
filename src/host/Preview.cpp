#include "host/Preview.h"

#include "base/Errors.h"
#include "base/Stream.h"
#include "package/Package.h"
#include "package/Picture.h"
#include "show/CaptionText.h"
#include "show/ShowSession.h"
#include "transition/HeadlessViewHost.h"

namespace pixvane {

namespace {

using TOpen = std::function<std::unique_ptr<TStream>()>;

// The show's platform in a preview: one still slide, so no view runs, no
// timer ticks and no music plays; the caption is drawn as on the screen the
// preview stands for.
class TPreviewPlatform final : public TShowPlatform {
 public:
  TPreviewPlatform(const TOpen& open, const TShowScreen& screen, int32_t pixelsPerInch)
      : FOpen(open), FScreen(screen), FCaptionPainter(pixelsPerInch) {}

  TViewHost& ViewHost() override { return FViewHost; }
  void ArmShowTimer(uint32_t) override {}
  void DisarmShowTimer() override {}
  TCaptionPainter& CaptionPainter() override { return FCaptionPainter; }
  std::unique_ptr<TStream> OpenPackage() override { return FOpen(); }
  TShowScreen Screen() override { return FScreen; }

 private:
  const TOpen& FOpen;
  TShowScreen FScreen;
  THeadlessViewHost FViewHost;
  TCaptionText FCaptionPainter;
};

// The first slide, composed from the settings as far as they can be read:
// the saver, too, goes on with what it read of an unreadable record.
TBitmap FirstSlide(TStream& file, const TJPEGImage& picture, const TShowScreen& screen,
                   TPreviewWindow& window, const TOpen& open) {
  TPreviewPlatform platform(open, screen, window.ScreenPixelsPerInch());
  TShowSession session(platform, TRandom());  // a still slide draws nothing at random
  try {
    session.ReadPackage(file);
  } catch (const EError&) {
    // Drawn with what was read before the error.
  }
  return session.StillSlide(picture, screen, window.ScreenWidth());
}

}  // namespace

void RunPreview(TPreviewWindow& window, const TOpen& openExecutable) {
  // A handle that names no window would otherwise keep us waiting for ever.
  while (!window.IsVisible()) {
    if (!window.Exists()) return;
    window.WaitForMessages(PreviewPollMs);
  }
  TRect rect = window.WindowRect();
  const int32_t width = rect.Right - rect.Left + 1;
  const int32_t height = rect.Bottom - rect.Top + 1;

  std::unique_ptr<TStream> file = openExecutable();
  std::unique_ptr<TImage> picture = ReadFirstPicture(*file);
  if (!picture) return;
  // The preview stands for the primary monitor.
  const TShowScreen screen{width, height, {{{0, 0, width, height}, window.ScreenPixelsPerInch()}}};
  if (const TJPEGImage* graphic = picture->Picture.Graphic(); graphic && width > 0 && height > 0)
    window.Draw(FirstSlide(*file, *graphic, screen, window, openExecutable));
  picture.reset();

  // Nothing more to draw: we only wait for the window to go.
  while (window.IsVisible()) window.WaitForMessages(PreviewPollMs);
}

}  // namespace pixvane
