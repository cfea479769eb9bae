#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "graphics/Bitmap.h"
#include "graphics/Geometry.h"
#include "package/SSFileLocations.h"

namespace pixvane {

class TJPEGImage;
class TStream;

// The small window of the display settings, as the preview sees it. It
// belongs to another process, so all we can do is look at it and draw on it.
class TPreviewWindow {
 public:
  virtual ~TPreviewWindow() = default;
  // False once the handle names no window any more.
  virtual bool Exists() = 0;
  virtual bool IsVisible() = 0;
  // The window rectangle in screen coordinates.
  virtual TRect WindowRect() = 0;
  // The width of the screen the preview stands for (the primary monitor).
  virtual int32_t ScreenWidth() = 0;
  // Shows bitmap at the window's top-left corner, through the window's own DC.
  virtual void Draw(const TBitmap& bitmap) = 0;
  // Processes what is pending, then sleeps until a message arrives or
  // timeoutMs has passed.
  virtual void WaitForMessages(uint32_t timeoutMs) = 0;
};

// Between two looks at the window. The window's owner tells us nothing when
// it hides the window, so this bounds how long the preview outlives it.
inline constexpr uint32_t PreviewPollMs = 50;

// The screen in miniature: the picture on black, placed in width x height as
// the scale mode places it on a screen screenWidth wide (at its own size,
// the picture shrinks with the screen). It is decoded at the smallest scale
// that still covers its place: a 24-megapixel photo shrunk into a thumbnail
// need not be decoded in full.
TBitmap RenderPreview(const TJPEGImage& picture, int32_t width, int32_t height,
                      TScaleMode mode = TScaleMode::Stretch, int32_t screenWidth = 0);

// The preview: wait until the window shows, take its size (one more than its
// extent in each direction), draw the package's first picture into it by the
// package's scale mode (stretched when the settings cannot be read, as
// before there were modes) and stay until the window hides. openExecutable opens our own file for
// reading. A bad file or picture raises its error before anything is drawn; a file too short for a
// trailer ends the preview without drawing.
void RunPreview(TPreviewWindow& window,
                const std::function<std::unique_ptr<TStream>()>& openExecutable);

}  // namespace pixvane
