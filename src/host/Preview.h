#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "graphics/Bitmap.h"
#include "graphics/Geometry.h"

namespace pixvane {

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
  // The width and resolution of the screen the preview stands for (the
  // primary monitor).
  virtual int32_t ScreenWidth() = 0;
  virtual int32_t ScreenPixelsPerInch() = 0;
  // Shows bitmap at the window's top-left corner, through the window's own DC.
  virtual void Draw(const TBitmap& bitmap) = 0;
  // Processes what is pending, then sleeps until a message arrives or
  // timeoutMs has passed.
  virtual void WaitForMessages(uint32_t timeoutMs) = 0;
};

// Between two looks at the window. The window's owner tells us nothing when
// it hides the window, so this bounds how long the preview outlives it.
inline constexpr uint32_t PreviewPollMs = 50;

// The preview: wait until the window shows, take its size (one more than its
// extent in each direction), draw the show's first slide into it, still and
// in miniature (the package's first picture by its scale mode, with its
// caption), and stay until the window hides. Settings that cannot be read
// are taken as far as they were read, as the saver does (no settings at all:
// the picture stretched over the preview). openExecutable opens our own file
// for reading. A bad file or picture raises its error before anything is
// drawn; a file too short for a trailer ends the preview without drawing.
void RunPreview(TPreviewWindow& window,
                const std::function<std::unique_ptr<TStream>()>& openExecutable);

}  // namespace pixvane
