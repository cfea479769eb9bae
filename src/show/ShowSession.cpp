#include "show/ShowSession.h"

#include <algorithm>

#include "base/Paths.h"
#include "base/Random.h"
#include "base/Stream.h"
#include "package/MediaFiles.h"
#include "package/Package.h"
#include "show/SlideComposer.h"

namespace pixvane {

TShowSession::TShowSession(TShowPlatform& platform)
    : FPlatform(platform), FView(platform.ViewHost()), FOrder(FSettings) {
  FPlatform.ViewHost().Attach(&FView);
  // One slide covers the whole screen; the view only fits it to its area.
  FView.Threaded = false;
  FView.AlignClient = true;
  FView.Color = 0;
  FView.SetCenter(true);
  FView.SetStretch(true);
  if (TMediaPlayer* device = FPlatform.MusicDevice())
    FMusic = std::make_unique<TMusicPlayer>(FSettings, *device, [](const std::string& name) {
      return JoinPath(TempFolderPath(), name);
    });
}

TShowSession::~TShowSession() {
  StopMotion();
  FPlatform.ViewHost().Attach(nullptr);
}

bool TShowSession::ReadPackage(TStream& file) {
  return ReadSettings(file, FSettings);
}

void TShowSession::ExtractMedia(TStream& file) {
  ExtractMediaFiles(FSettings, file);
}

void TShowSession::DeleteMedia() {
  DeleteMediaFiles(FSettings);
}

void TShowSession::Start() {
  if (FSettings.Kind() == TSaverKind::Flash && FSettings.PicCount() == 0)
    FPlatform.StartFlashShow();
  if (FSettings.Kind() == TSaverKind::Photo && FMusic) FMusic->Start();
}

void TShowSession::MusicNotify() {
  if (FMusic) FMusic->Notify();
}

void TShowSession::ShowTimerTick() {
  if (FSettings.PicCount() == 0) return;
  FPlatform.DisarmShowTimer();
  StopMotion();
  FPlatform.HideFlash();
  std::optional<int32_t> next = FOrder.Next();
  if (!next) {
    FPlatform.StartFlashShow();  // the timer stays off: from now on only movies play
    return;
  }
  FPicIndex = *next;
  // The file stays open while its picture is on its way to the screen, and
  // is given back however the tick ends.
  std::unique_ptr<TStream> file = FPlatform.OpenPackage();
  file->Seek(FSettings.PicOffsetAt(FPicIndex));
  std::unique_ptr<TImage> image = ReadPictureObject(*file);
  if (FView.Busy()) FView.Stop();
  {
    // The view keeps its own copy; ours goes before the transition runs.
    TBitmap slide = ComposeSlide(*image);
    image.reset();
    FView.SetPicture(&slide);
  }
  FView.Style = NextStyle();
  if (FSettings.lClearOldImage) {
    FView.Clear();
    FView.Update();  // the bare background is what the transition starts from
  }
  const uint32_t transitionStart = FPlatform.ViewHost().TickCount();
  FView.Execute();
  const uint32_t transitionMs = FPlatform.ViewHost().TickCount() - transitionStart;
  file.reset();
  FPlatform.ViewHost().ProcessMessages(0);
  // A timer without an interval would never tick: the show stays here.
  if (FSettings.Interval > 0) FPlatform.ArmShowTimer(static_cast<uint32_t>(FSettings.Interval));
  StartMotion(transitionMs);
}

TBitmap TShowSession::ComposeSlide(const TImage& image) {
  TShowScreen screen = FPlatform.Screen();
  if (screen.Monitors.empty()) screen.Monitors.push_back({{0, 0, screen.Width, screen.Height}});
  const TJPEGImage* graphic = image.Picture.Graphic();
  TSlideComposer composer(FSettings, FPlatform.CaptionPainter());
  const TStoredText caption = FSettings.CaptionOf(FPicIndex);
  if (!FSettings.PanZoom() || !graphic || graphic->Width() <= 0 || graphic->Height() <= 0)
    return composer.ComposeSlide(graphic, screen.Width, screen.Height, screen.Monitors, caption);
  PrepareMotion(*graphic, screen);
  TBitmap slide(screen.Width, screen.Height);
  FMotion->Draw(slide, 0);
  composer.DrawCaptions(slide, FMotionMonitors, caption);
  return slide;
}

// --- pan and zoom -----------------------------------------------------------

void TShowSession::PrepareMotion(const TJPEGImage& graphic, const TShowScreen& screen) {
  std::vector<TRect> areas;
  for (const TMonitor& monitor : screen.Monitors) areas.push_back(monitor.Bounds);
  FMotion = std::make_unique<TMotionSlide>(graphic, FSettings.Scale(), FSettings.Zoom(), areas);
  FMotionMonitors = screen.Monitors;
}

void TShowSession::StartMotion(uint32_t transitionMs) {
  if (!FMotion) return;
  constexpr uint32_t FramePeriodUs = 1000000 / 60;
  FMotionStart = FPlatform.ViewHost().TickCount();
  FMotionPace = MotionPace(FSettings.Interval, transitionMs);
  FPlatform.ViewHost().StartFrames(FramePeriodUs, [this] { MotionFrame(); });
}

void TShowSession::StopMotion() {
  if (!FMotion) return;
  FPlatform.ViewHost().StopFrames();
  // The transition to the next slide starts from the frame on screen; the
  // prepared picture is not needed any more.
  FMotion.reset();
}

void TShowSession::MotionFrame() {
  if (!FMotion) return;
  const uint32_t elapsed = FPlatform.ViewHost().TickCount() - FMotionStart;
  const double progress = std::min(1.0, elapsed * FMotionPace);
  FView.RedrawScreen([&](TBitmap& screen) {
    FMotion->Draw(screen, progress);
    TSlideComposer(FSettings, FPlatform.CaptionPainter())
        .DrawCaptions(screen, FMotionMonitors, FSettings.CaptionOf(FPicIndex));
  });
  // At the end of its path the picture holds still, costing nothing.
  if (progress >= 1.0) StopMotion();
}

uint8_t TShowSession::NextStyle() {
  int count = FSettings.EffectCount();
  if (count == 0) return 0;  // the custom style: the picture at once
  int32_t style;
  if (FSettings.lRandomStyle) {
    style = FSettings.EffectAt(Random(count));
  } else {
    style = FSettings.EffectAt(FEffectIndex);
    FEffectIndex = FEffectIndex < count - 1 ? FEffectIndex + 1 : 0;
  }
  return static_cast<uint8_t>(style);  // only the low 8 bits reach the view
}

}  // namespace pixvane
