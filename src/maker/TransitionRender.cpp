#include "maker/TransitionRender.h"

#include <algorithm>

#include "maker/FrameFiles.h"
#include "maker/ImageFiles.h"
#include "maker/ToolError.h"
#include "transition/FrameRenderer.h"
#include "transition/HeadlessViewHost.h"
#include "transition/TransitionView.h"

namespace pixvane::maker {
namespace {

// A view placed as the saver places its pictures (centred and stretched)
// that shows old, so its painted image is the next transition's old screen.
// The transition after it draws from a generator started from seed.
struct TShowingOld {
  THeadlessViewHost Host;
  TRandom Random;
  TTransitionView View{Host, Random};

  TShowingOld(const TBitmap& old, int width, int height, uint32_t seed) : Random(seed) {
    Host.Attach(&View);
    View.Threaded = false;
    View.Color = 0;
    View.SetAutoSize(false);
    View.SetClientSize(width, height);
    View.SetCenter(true);
    View.SetStretch(true);
    View.SetPicture(&old);
    View.Style = 0;
    View.Execute();  // the custom style without a handler shows it whole at once
  }
};

int32_t Checked(int value, int lowest, int highest, const char* what) {
  if (value < lowest || value > highest)
    throw EToolError(std::string(what) + " must be between " + std::to_string(lowest) + " and " +
                     std::to_string(highest) + ", not " + std::to_string(value));
  return value;
}

void CheckSameSize(const TBitmap& old, const TBitmap& picture) {
  if (old.Width() != picture.Width() || old.Height() != picture.Height())
    throw EToolError("the old and new pictures must have one size: " + std::to_string(old.Width()) +
                     " x " + std::to_string(old.Height()) + " and " +
                     std::to_string(picture.Width()) + " x " + std::to_string(picture.Height()));
}

}  // namespace

TBitmap RenderOneFrame(const TBitmap& old, const TBitmap& picture, int style, int progress,
                       int step, uint32_t seed) {
  CheckSameSize(old, picture);
  Checked(style, 0, 255, "the style");
  Checked(progress, 0, 100, "the progress");
  TBitmap screen(old.Width(), old.Height());
  TRandom random(seed);
  // A step outside 1 to 100 is taken as the view's Step takes it.
  DrawFrame(screen, {old, picture, style, progress, std::clamp(step, 1, 100), random});
  return screen;
}

std::vector<TBitmap> RenderTransition(const TBitmap& old, const TBitmap& picture,
                                      const TRenderSettings& settings) {
  int width = settings.Width ? settings.Width : picture.Width();
  int height = settings.Height ? settings.Height : picture.Height();
  Checked(width, 1, 16384, "the width");
  Checked(height, 1, 16384, "the height");
  TShowingOld rig(old, width, height, settings.Seed);
  std::vector<TBitmap> frames{rig.View.PaintBuffer()};
  rig.Host.OnPainted = [&frames](const TBitmap& painted) { frames.push_back(painted); };
  rig.View.SetPicture(&picture);
  rig.View.Style = static_cast<uint8_t>(Checked(settings.Style, 0, 255, "the style"));
  rig.View.SetStep(settings.Step);
  rig.View.Reverse = settings.Reverse;
  rig.View.Execute();
  return frames;
}

void RunFrame(const TFrameOptions& options) {
  TBitmap old = ReadImage(options.Old), picture = ReadImage(options.New);
  WritePng(options.Output, RenderOneFrame(old, picture, options.Style, options.Progress,
                                          options.Step, options.Seed));
}

int RunRender(const TRenderOptions& options) {
  TBitmap old = ReadImage(options.Old), picture = ReadImage(options.New);
  std::vector<TBitmap> frames = RenderTransition(old, picture, options.Settings);
  return WriteFrames(options.Output, frames, std::vector<int>(frames.size(), 40));
}

}  // namespace pixvane::maker
