#include "host/Preview.h"

#include "base/Stream.h"
#include "package/Package.h"
#include "package/Picture.h"
#include "transition/Copy.h"

namespace pixvane {

TBitmap RenderPreview(const TJPEGImage& picture, int32_t width, int32_t height) {
  TBitmap preview(width, height);
  if (preview.IsEmpty()) return preview;
  TBitmap decoded = picture.Decode(picture.ScaleToCover(width, height));
  StretchCopy(preview, preview.Bounds(), decoded, decoded.Bounds());
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
  if (const TJPEGImage* graphic = picture->Picture.Graphic(); graphic && width > 0 && height > 0)
    window.Draw(RenderPreview(*graphic, width, height));
  picture.reset();

  // Nothing more to draw: we only wait for the window to go.
  while (window.IsVisible()) window.WaitForMessages(PreviewPollMs);
}

}  // namespace pixvane
