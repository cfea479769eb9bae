#include "host/Preview.h"

#include <algorithm>

#include "base/Errors.h"
#include "base/MulDiv.h"
#include "base/Stream.h"
#include "package/Package.h"
#include "package/Picture.h"
#include "show/SlideComposer.h"

namespace pixvane {

namespace {

TScaleMode PackageScale(TStream& file) {
  TSSFileLocations settings;
  try {
    if (ReadSettings(file, settings)) return settings.Scale();
  } catch (const EError&) {
  }
  return TScaleMode::Stretch;
}

}  // namespace

TBitmap RenderPreview(const TJPEGImage& picture, int32_t width, int32_t height, TScaleMode mode,
                      int32_t screenWidth) {
  TBitmap preview(width, height);
  if (preview.IsEmpty() || picture.Width() <= 0 || picture.Height() <= 0) return preview;
  TRect placement;
  if (mode == TScaleMode::None) {
    if (screenWidth <= 0) screenWidth = width;
    placement =
        PlacePicture(mode, std::max(1, MulDiv(picture.Width(), width, screenWidth)),
                     std::max(1, MulDiv(picture.Height(), width, screenWidth)), preview.Bounds());
  } else {
    placement = PlacePicture(mode, picture.Width(), picture.Height(), preview.Bounds());
  }
  DrawScaledPicture(preview, picture, {preview.Bounds()}, {placement});
  return preview;
}

void RunPreview(TPreviewWindow& window,
                const std::function<std::unique_ptr<TStream>()>& openExecutable) {
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
  const TScaleMode mode = PackageScale(*file);
  if (const TJPEGImage* graphic = picture->Picture.Graphic(); graphic && width > 0 && height > 0)
    window.Draw(RenderPreview(*graphic, width, height, mode, window.ScreenWidth()));
  picture.reset();

  // Nothing more to draw: we only wait for the window to go.
  while (window.IsVisible()) window.WaitForMessages(PreviewPollMs);
}

}  // namespace pixvane
