#include "tools/pixvane/ShowRender.h"

#include <algorithm>
#include <cstdio>

#include "base/Errors.h"
#include "base/Random.h"
#include "base/Stream.h"
#include "package/Package.h"
#include "show/CaptionText.h"
#include "show/SlideSequencer.h"
#include "tools/pixvane/ImageFiles.h"
#include "tools/pixvane/ToolError.h"
#include "transition/HeadlessViewHost.h"

namespace pixvane::tool {
namespace {

// The saver window as the sequencer sees it, without a window.
class TOffscreenWindow : public TSlideHost {
 public:
  TOffscreenWindow(const std::filesystem::path& path, int width, int height)
      : FPath(path), FWidth(width), FHeight(height) {}
  std::unique_ptr<TImage> LoadPictureAt(int32_t offset) override {
    auto file = TFileStream::OpenRead(FPath);
    file->Seek(offset);
    return ReadPictureObject(*file);
  }
  int32_t ScreenWidth() override { return FWidth; }
  int32_t ScreenHeight() override { return FHeight; }
  void MeasureText(const std::string& text, const TFont& font, int32_t& cx, int32_t& cy) override {
    FCaption.MeasureText(text, font, cx, cy);
  }
  void DrawText(TBitmap& slide, const TRect& clip, int32_t x, int32_t y, const std::string& text,
                const TFont& font) override {
    FCaption.DrawText(slide, clip, x, y, text, font);
  }
  TCoverage TextCoverage(const std::string& text, const TFont& font) override {
    return FCaption.TextCoverage(text, font);
  }
  void SetShowTimerEnabled(bool enabled) override { TimerEnabled = enabled; }
  void ProcessMessages() override {}
  void StartFlashShow() override { FlashStarted = true; }

  bool TimerEnabled = false;
  bool FlashStarted = false;

 private:
  std::filesystem::path FPath;
  int FWidth, FHeight;
  TCaptionText FCaption;  // as on a 96 dpi screen
};

// What the screen shows once a Flash saver's movies take over, in place of
// the movies: the tool cannot play them, so it names them in their order.
TBitmap MoviesFrame(const TSSFileLocations& settings, int width, int height) {
  TBitmap frame(width, height);
  TFont font;
  font.Name = "Arial";
  font.Height = -std::max(10, height / 30);
  font.Color = 0xFFFFFF;
  TCaptionText caption;
  std::vector<std::string> lines{"The Flash movies would play here, in this order:"};
  const TMediaRun movies = settings.Flash();
  for (int i = 0; i < movies.Count(); ++i)
    lines.push_back(std::to_string(i + 1) + ". " + movies.NameAt(i));
  if (movies.Count() == 0) lines.push_back("(none: the Flash control stays blank)");
  int32_t cx = 0, cy = 0, y = height / 8;
  for (const std::string& line : lines) {
    caption.MeasureText(line, font, cx, cy);
    caption.DrawText(frame, frame.Bounds(), width / 16, y, line, font);
    y += cy * 3 / 2;
  }
  return frame;
}

}  // namespace

std::vector<TShowFrame> RenderShow(const TShowRenderOptions& options,
                                   const std::function<void(uint32_t)>& onPlayed) {
  if (options.Width < 16 || options.Height < 16 || options.Width > 7680 || options.Height > 4320)
    throw EToolError("the screen size must be between 16 x 16 and 7680 x 4320");
  if (options.Seconds < 1 || options.Seconds > 3600)
    throw EToolError("the seconds must be between 1 and 3600");
  auto file = TFileStream::OpenRead(options.Saver);
  TSSFileLocations settings;
  try {
    if (!ReadSettings(*file, settings))
      throw EToolError(Located(options.Saver, 0, "no package in this file"));
  } catch (const EError& e) {
    throw EToolError(Located(options.Saver, 0, std::string("no readable package: ") + e.what()));
  }
  file.reset();

  THeadlessViewHost host;
  TTransitionView view(host);
  host.Attach(&view);
  view.Threaded = false;
  view.AlignClient = true;
  view.Color = 0;
  view.SetCenter(true);
  view.SetStretch(true);
  view.SetClientSize(options.Width, options.Height);
  TOffscreenWindow window(options.Saver, options.Width, options.Height);
  TSlideSequencer sequencer(settings, view, window);
  SetRandSeed(options.Seed);

  std::vector<TShowFrame> frames;
  uint32_t shownAt = 0;
  const uint32_t end = static_cast<uint32_t>(options.Seconds) * 1000;
  auto show = [&](const TBitmap& image) {
    uint32_t now = host.TickCount();
    if (now >= end) return;  // a transition running past the end is cut there
    // An image replaced at the same moment was never on screen.
    if (!frames.empty() && now == shownAt)
      frames.pop_back();
    else if (!frames.empty())
      frames.back().DurationMs = static_cast<int>(now - shownAt);
    frames.push_back({image, 0});
    if (onPlayed && now / 1000 != shownAt / 1000) onPlayed(now);
    shownAt = now;
  };
  view.Paint();
  show(view.PaintBuffer());  // black, as the saver starts
  host.OnPainted = show;
  sequencer.ShowTimerTick();
  // The show timer: the interval is the pause after each transition.
  while (window.TimerEnabled && settings.Interval > 0 && host.TickCount() < end) {
    host.Advance(static_cast<uint32_t>(settings.Interval));
    if (host.TickCount() >= end) break;
    sequencer.ShowTimerTick();
  }
  // A Flash saver hands over to its movies after its pictures (at once
  // without pictures), and they play until the end.
  const bool flash = settings.Kind() == TSaverKind::Flash;
  if (flash && (window.FlashStarted || settings.PicCount() == 0) && host.TickCount() < end)
    show(MoviesFrame(settings, options.Width, options.Height));
  frames.back().DurationMs = static_cast<int>(end - shownAt);
  return frames;
}

int RunShowRender(const TShowRenderOptions& options,
                  const std::function<void(const std::string&)>& report) {
  auto say = [&](const std::string& text) {
    if (report) report(text);
  };
  const std::string total = std::to_string(options.Seconds);
  std::vector<TShowFrame> frames = RenderShow(options, [&](uint32_t playedMs) {
    say("Playing the show: " + std::to_string(playedMs / 1000) + "/" + total + " s");
  });
  auto writing = [&](size_t index) {
    say("Writing frame " + std::to_string(index + 1) + "/" + std::to_string(frames.size()));
  };
  if (IsAnimationFile(options.Output)) {
    std::vector<TBitmap> images;
    std::vector<int> delays;
    for (auto& frame : frames) {
      images.push_back(std::move(frame.Image));
      delays.push_back(frame.DurationMs);
    }
    WriteAnimation(options.Output, images, delays, writing);
    return static_cast<int>(images.size());
  }
  std::error_code error;
  std::filesystem::create_directories(options.Output, error);
  if (error)
    throw EToolError(Located(options.Output, 0, "cannot create the folder: " + error.message()));
  for (size_t i = 0; i < frames.size(); ++i) {
    writing(i);
    char name[32];
    std::snprintf(name, sizeof name, "frame-%03zu.png", i);
    WritePng(options.Output / name, frames[i].Image);
  }
  return static_cast<int>(frames.size());
}

}  // namespace pixvane::tool
