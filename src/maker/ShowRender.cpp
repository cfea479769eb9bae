#include "maker/ShowRender.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>

#include "base/Errors.h"
#include "base/Stream.h"
#include "maker/FrameFiles.h"
#include "maker/ToolError.h"
#include "package/SignedSaver.h"
#include "show/CaptionText.h"
#include "show/ShowSession.h"
#include "transition/HeadlessViewHost.h"

namespace pixvane::maker {
namespace {

// A headless host whose frame pulse beats no faster than the show render
// asks (the player's session asks for 60 beats a second) and, once held to
// the wall clock, skips the beats that come too late; but it never leaves
// the picture unpainted for long, or a slow computer would show none of
// its motion.
class TPacedViewHost : public THeadlessViewHost {
 public:
  explicit TPacedViewHost(int framesPerSecond) : FMinPeriodUs(1000000 / framesPerSecond) {}
  void StartFrames(uint32_t periodUs, std::function<void()> onFrame) override {
    FPaintedMs = TickCount();
    THeadlessViewHost::StartFrames(std::max(periodUs, FMinPeriodUs), [this, onFrame] {
      if (Behind() && TickCount() - FPaintedMs < LongestSkipMs) return;
      FPaintedMs = TickCount();
      onFrame();
    });
  }
  void KeepPace() { FWallStart = std::chrono::steady_clock::now(); }

 private:
  static constexpr uint32_t LongestSkipMs = 200;
  bool Behind() {
    return FWallStart &&
           std::chrono::steady_clock::now() - *FWallStart > std::chrono::milliseconds(TickCount());
  }

  uint32_t FMinPeriodUs;
  uint32_t FPaintedMs = 0;
  std::optional<std::chrono::steady_clock::time_point> FWallStart;
};

// The show's platform without a window: frames painted in memory on a
// virtual clock, one screen of the asked size, no sound. The show timer is
// only noted; the render loop moves the clock to its ticks.
class TOffscreenScreen : public TShowPlatform {
 public:
  explicit TOffscreenScreen(const TShowRenderOptions& options)
      : Host(options.MotionFps),
        FPath(options.Saver),
        FWidth(options.Width),
        FHeight(options.Height) {}

  TViewHost& ViewHost() override { return Host; }
  void ArmShowTimer(uint32_t ms) override { TimerMs = ms; }
  void DisarmShowTimer() override { TimerMs.reset(); }
  TCaptionPainter& CaptionPainter() override { return FCaption; }
  std::unique_ptr<TStream> OpenPackage() override { return OpenSaver(FPath); }
  TShowScreen Screen() override { return {FWidth, FHeight, {}}; }
  void StartFlashShow() override { OnFlashShow(); }

  TPacedViewHost Host;
  std::optional<uint32_t> TimerMs;
  std::function<void()> OnFlashShow;

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
  // UTF-8 throughout, so names the code page lacks show as written.
  std::vector<TStoredText> lines{{"The Flash movies would play here, in this order:", true}};
  const TMediaRun movies = settings.Flash();
  for (int i = 0; i < movies.Count(); ++i)
    lines.emplace_back(std::to_string(i + 1) + ". " + movies.Utf8NameAt(i), true);
  if (movies.Count() == 0) lines.emplace_back("(none: the Flash control stays blank)", true);
  int32_t cx = 0, cy = 0, y = height / 8;
  for (const TStoredText& line : lines) {
    caption.MeasureText(line, font, cx, cy);
    caption.DrawText(frame, frame.Bounds(), width / 16, y, line, font);
    y += cy * 3 / 2;
  }
  return frame;
}

}  // namespace

uint32_t PlayShow(const TShowRenderOptions& options, const TShowImageSink& onImage) {
  if (options.Width < 16 || options.Height < 16 || options.Width > 7680 || options.Height > 4320)
    throw EToolError("the screen size must be between 16 x 16 and 7680 x 4320");
  if (options.Seconds < 1 || options.Seconds > 3600)
    throw EToolError("the seconds must be between 1 and 3600");
  if (options.MotionFps < 1 || options.MotionFps > 60)
    throw EToolError("the motion's frame rate must be between 1 and 60");
  TOffscreenScreen screen(options);
  TShowSession session(screen, TRandom(options.Seed));
  std::unique_ptr<TStream> file = screen.OpenPackage();
  try {
    if (!session.ReadPackage(*file))
      throw EToolError(Located(options.Saver, 0, "no package in this file"));
  } catch (const EError& e) {
    throw EToolError(Located(options.Saver, 0, std::string("no readable package: ") + e.what()));
  }
  file.reset();
  session.SetClientSize(options.Width, options.Height);

  THeadlessViewHost& host = screen.Host;
  const uint32_t end = static_cast<uint32_t>(options.Seconds) * 1000;
  auto show = [&](const TBitmap& image) {
    // A transition running past the end is cut there.
    if (host.TickCount() < end) onImage(image, host.TickCount());
  };
  if (options.KeepPace) screen.Host.KeepPace();
  show(host.Paint());  // black, as the saver starts
  host.OnPainted = show;
  // A Flash saver hands over to its movies after its pictures (at once
  // without pictures), and they play until the end.
  screen.OnFlashShow = [&] {
    show(MoviesFrame(session.Settings(), options.Width, options.Height));
  };
  session.Start();
  session.ShowTimerTick();
  // The clock moves to the next show tick, through the frames of a moving
  // picture on the way; a show that stays on one picture ends when it does
  // (a still one at once).
  while (host.TickCount() < end && (screen.TimerMs || host.FramesRunning())) {
    const uint32_t left = end - host.TickCount();
    host.AdvanceWithFrames(screen.TimerMs ? std::min(*screen.TimerMs, left) : left);
    if (host.TickCount() >= end) break;
    session.ShowTimerTick();
  }
  return end;
}

std::vector<TShowFrame> RenderShow(const TShowRenderOptions& options,
                                   const std::function<void(uint32_t)>& onPlayed) {
  std::vector<TShowFrame> frames;
  uint32_t shownAt = 0;
  constexpr size_t MaxHeldBytes = size_t{2} << 30;
  size_t heldBytes = 0;
  uint32_t end = PlayShow(options, [&](const TBitmap& image, uint32_t now) {
    // An image replaced at the same moment was never on screen.
    if (!frames.empty() && now == shownAt) {
      heldBytes -= frames.back().Image.ByteSize();
      frames.pop_back();
    } else if (!frames.empty())
      frames.back().DurationMs = static_cast<int>(now - shownAt);
    // A moving picture brings 60 frames a second, all held until written.
    heldBytes += image.ByteSize();
    if (heldBytes > MaxHeldBytes)
      throw EToolError(
          "the show's frames would take more than 2 GB of memory (a moving "
          "picture gives 60 frames a second); render fewer seconds or a "
          "smaller size");
    frames.push_back({image, 0});
    if (onPlayed && now / 1000 != shownAt / 1000) onPlayed(now);
    shownAt = now;
  });
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
  std::vector<TBitmap> images;
  std::vector<int> delays;
  for (TShowFrame& frame : frames) {
    images.push_back(std::move(frame.Image));
    delays.push_back(frame.DurationMs);
  }
  return WriteFrames(options.Output, images, delays, writing);
}

}  // namespace pixvane::maker
