#include "show/ShowSession.h"

#include <algorithm>

#include "base/MulDiv.h"
#include "base/Paths.h"
#include "base/Stream.h"
#include "graphics/Bands.h"
#include "package/MediaFiles.h"
#include "package/Package.h"
#include "show/SlideComposer.h"

namespace pixvane {
namespace {

bool Portrait(int32_t width, int32_t height) {
  return height > width;
}

// Which of the pictures each monitor shows (-1: none): in the order taken,
// or, where the order is a random one anyway, portrait pictures on portrait
// monitors.
std::vector<int> PicturesForMonitors(const std::vector<const TJPEGImage*>& graphics,
                                     const std::vector<TMonitor>& monitors, bool matchOrientation) {
  if (!matchOrientation) {
    std::vector<int> inOrder;
    for (size_t i = 0; i < monitors.size(); ++i)
      inOrder.push_back(i < graphics.size() ? static_cast<int>(i) : -1);
    return inOrder;
  }
  std::vector<bool> portraitPictures, portraitMonitors;
  for (const TJPEGImage* graphic : graphics)
    portraitPictures.push_back(graphic && Portrait(graphic->Width(), graphic->Height()));
  for (const TMonitor& monitor : monitors)
    portraitMonitors.push_back(Portrait(monitor.Bounds.Width(), monitor.Bounds.Height()));
  return MatchOrientations(portraitPictures, portraitMonitors);
}

bool Drawable(const TJPEGImage* graphic) {
  return graphic && graphic->Width() > 0 && graphic->Height() > 0;
}

}  // namespace

TShowSession::TShowSession(TShowPlatform& platform, TRandom random)
    : FPlatform(platform),
      FRandom(random),
      FView(platform.ViewHost(), FRandom),
      FOrder(FSettings, FRandom),
      FPreparer(platform.PreparesInBackground()) {
  FPlatform.ViewHost().Attach(&FView);
  // One slide covers the whole screen; the view only fits it to its area.
  FView.Threaded = false;
  FView.AlignClient = true;
  FView.Color = 0;
  FView.SetCenter(true);
  FView.SetStretch(true);
  FView.OnAfterNewFrame = [this](TCustomTransitionView&, TBitmap&, TBitmap&) {
    FTickLead.Shown(FPlatform.ViewHost().TickCount());
  };
  if (TMediaPlayer* device = FPlatform.MusicDevice())
    FMusic = std::make_unique<TMusicPlayer>(
        FSettings, *device, FRandom,
        [](const std::string& name) { return JoinPath(TempFolderPath(), name); });
}

TShowSession::~TShowSession() {
  StopMotion();
  FPreparer.Discard();  // its work reads the settings
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
  PrepareNextSlide();
}

void TShowSession::MusicNotify() {
  if (FMusic) FMusic->Notify();
}

void TShowSession::ShowTimerTick() {
  if (FSettings.PicCount() == 0) return;
  FPlatform.DisarmShowTimer();
  StopMotion();
  FPlatform.HideFlash();
  TSlidePlan plan = FNext ? std::move(*FNext) : PlanSlide();
  FNext.reset();
  if (plan.Pictures.empty()) {
    FPlatform.StartFlashShow();  // the timer stays off: from now on only movies play
    return;
  }
  FPicIndex = plan.Pictures.front();
  // The file stays open while its picture is on its way to the screen, and
  // is given back however the tick ends.
  TSlidePreparer::TPrepared prepared = TakeSlide(plan);
  FTickLead.Taken(FPlatform.ViewHost().TickCount());
  FMotion = std::move(prepared.Slide.Motion);
  FShown = std::move(prepared.Slide.Shown);
  DrawCaptions(prepared.Slide.Slide);
  if (FView.Busy()) FView.Stop();
  // The view takes the slide over: no copy between the tick and the first frame.
  FView.SetPicture(std::move(prepared.Slide.Slide));
  SetStyles(plan.Screen);
  if (FSettings.lClearOldImage) {
    FView.Clear();
    FView.Update();  // the bare background is what the transition starts from
  }
  const uint32_t transitionStart = FPlatform.ViewHost().TickCount();
  FView.Execute();
  const uint32_t transitionMs = FPlatform.ViewHost().TickCount() - transitionStart;
  // Once shown, the slide lives on in the view's screen; its copy as the
  // view's picture would only hold a screenful of memory (50 MB on two 4K
  // monitors) while the next slide is prepared beside it.
  if (!FView.Busy()) FView.SetPicture(TBitmap());
  prepared.File.reset();
  FPlatform.ViewHost().ProcessMessages(0);
  // A timer without an interval would never tick: the show stays here.
  if (FSettings.Interval > 0) {
    PrepareNextSlide();
    FPlatform.ArmShowTimer(FTickLead.Arm(transitionStart + transitionMs,
                                         static_cast<uint32_t>(FSettings.Interval),
                                         FPlatform.ViewHost().TickCount()));
  }
  StartMotion(transitionMs);
}

TShowSession::TSlidePlan TShowSession::PlanSlide() {
  TSlidePlan plan{{}, FPlatform.Screen(), {}, FOrder.IsRandom()};
  if (plan.Screen.Monitors.empty())
    plan.Screen.Monitors.push_back({{0, 0, plan.Screen.Width, plan.Screen.Height}});
  const size_t count = FSettings.Monitors() == TMonitorMode::Each ? plan.Screen.Monitors.size() : 1;
  while (plan.Pictures.size() < count)
    if (std::optional<int32_t> next = FOrder.Next())
      plan.Pictures.push_back(*next);
    else
      break;
  if (FSettings.PanZoom())
    for (size_t i = 0; i < plan.Pictures.size(); ++i)
      plan.Motion.push_back(TMotionDraw::Random(FRandom));
  return plan;
}

// Only where slides are prepared in the background are the next pictures
// taken from the order ahead of their tick: what is drawn from the show's
// generator, and when, stays as it was.
void TShowSession::PrepareNextSlide() {
  if (!FPlatform.PreparesInBackground() || FSettings.PicCount() == 0) return;
  FNext = PlanSlide();
  if (FView.ScreenBitmap().IsEmpty()) FNext->Threads = 2;
  if (!FNext->Pictures.empty()) PrepareSlide(*FNext);
}

TSlidePreparer::TPrepared TShowSession::TakeSlide(TSlidePlan& plan) {
  // Composed for monitors that have changed since, the slide is made anew.
  TShowScreen screen = FPlatform.Screen();
  if (screen.Monitors.empty()) screen.Monitors.push_back({{0, 0, screen.Width, screen.Height}});
  if (!FPreparer.Pending() || !(screen == plan.Screen)) {
    plan.Screen = std::move(screen);
    PrepareSlide(plan);
  }
  return FPreparer.Take();
}

// The work sees the settings (left alone while a show runs), its own copy
// of the plan and the file, never the session or its platform.
void TShowSession::PrepareSlide(const TSlidePlan& plan) {
  FPreparer.Start(
      [this] { return FPlatform.OpenPackage(); },
      [&settings = FSettings, plan](TStream& file) { return ComposeSlide(settings, plan, file); });
}

// Runs on the preparer's thread, so it draws no caption: those are drawn on
// the show's thread, the one thread the caption painter is used on.
TComposedSlide TShowSession::ComposeSlide(const TSSFileLocations& settings, const TSlidePlan& plan,
                                          TStream& file) {
  std::vector<std::unique_ptr<TImage>> images;
  std::vector<const TJPEGImage*> graphics;
  for (int32_t index : plan.Pictures) {
    file.Seek(settings.PicOffsetAt(index));
    images.push_back(ReadPictureObject(file));
    graphics.push_back(images.back()->Picture.Graphic());
  }
  const TShowScreen& screen = plan.Screen;
  const bool each = settings.Monitors() == TMonitorMode::Each;
  const std::vector<int> onMonitor =
      each ? PicturesForMonitors(graphics, screen.Monitors, plan.MatchOrientation)
           : std::vector<int>(screen.Monitors.size(), 0);
  TComposedSlide composed{TBitmap(screen.Width, screen.Height), {}, {}};  // black
  TBitmap& slide = composed.Slide;
  for (size_t i = 0; i < screen.Monitors.size(); ++i)
    if (onMonitor[i] >= 0)
      composed.Shown.push_back({screen.Monitors[i], plan.Pictures[onMonitor[i]]});
  if (settings.PanZoom()) {
    std::vector<TRect> all;
    for (const TMonitor& monitor : screen.Monitors) all.push_back(monitor.Bounds);
    for (size_t i = 0; i < (each ? screen.Monitors.size() : 1); ++i) {
      const int picture = onMonitor[i];
      if (picture < 0 || !Drawable(graphics[picture])) continue;
      composed.Motion.push_back(
          std::make_unique<TMotionSlide>(*graphics[picture], settings.Scale(), settings.Zoom(),
                                         each ? std::vector<TRect>{screen.Monitors[i].Bounds} : all,
                                         plan.Motion[picture], plan.Threads));
      composed.Motion.back()->Draw(slide, 0);
    }
    return composed;
  }
  for (size_t i = 0; i < (each ? screen.Monitors.size() : 1); ++i) {
    const int picture = onMonitor[i];
    if (picture < 0 || !Drawable(graphics[picture])) continue;
    std::vector<TRect> areas;
    if (each)
      areas.push_back(screen.Monitors[i].Bounds);
    else
      for (const TMonitor& monitor : screen.Monitors) areas.push_back(monitor.Bounds);
    TSlideComposer::DrawPicture(slide, *graphics[picture], settings.Scale(), areas, plan.Threads);
  }
  return composed;
}

// Every monitor's caption: its own picture's, else the show's.
void TShowSession::DrawCaptions(TBitmap& slide) {
  TSlideComposer composer(FSettings, FPlatform.CaptionPainter());
  for (const auto& [monitor, picture] : FShown)
    composer.DrawCaptions(slide, {monitor}, FSettings.CaptionOf(picture));
}

void TShowSession::SetStyles(const TShowScreen& screen) {
  FView.Areas.clear();
  FView.Style = NextStyle();
  if (FSettings.Monitors() != TMonitorMode::Each || screen.Monitors.size() < 2) return;
  // Each monitor has a transition of its own, the next style of the order.
  FView.Areas.push_back({screen.Monitors.front().Bounds, FView.Style});
  for (size_t i = 1; i < screen.Monitors.size(); ++i)
    FView.Areas.push_back({screen.Monitors[i].Bounds, NextStyle()});
}

// --- pan and zoom -----------------------------------------------------------

void TShowSession::StartMotion(uint32_t transitionMs) {
  if (FMotion.empty()) return;
  FMotionStart = FPlatform.ViewHost().TickCount();
  FMotionPace = MotionPace(FSettings.Interval, transitionMs);
  FPlatform.ViewHost().StartFrames(FFramePace.PeriodUs(), [this] { MotionFrame(); });
}

void TShowSession::StopMotion() {
  if (FMotion.empty()) return;
  FPlatform.ViewHost().StopFrames();
  // The transition to the next slide starts from the frame on screen; the
  // prepared pictures are not needed any more.
  FMotion.clear();
}

void TShowSession::MotionFrame() {
  if (FMotion.empty()) return;
  TViewHost& host = FPlatform.ViewHost();
  const uint32_t start = host.TickCount();
  const double progress = std::min(1.0, (start - FMotionStart) * FMotionPace);
  FView.RedrawScreen([&](TBitmap& screen) {
    for (const auto& motion : FMotion) motion->Draw(screen, progress, FrameThreads());
    DrawCaptions(screen);
  });
  // At the end of its path the picture holds still, costing nothing.
  if (progress >= 1.0)
    StopMotion();
  else if (FFramePace.Drawn((host.TickCount() - start) * 1000))
    host.StartFrames(FFramePace.PeriodUs(), [this] { MotionFrame(); });
}

// --- the still slide ----------------------------------------------------------

TBitmap TShowSession::StillSlide(const TJPEGImage& picture, const TShowScreen& screen,
                                 int32_t fullWidth) {
  TBitmap slide(screen.Width, screen.Height);  // black
  if (slide.IsEmpty()) return slide;
  std::vector<TMonitor> monitors = screen.Monitors;
  if (monitors.empty()) monitors.push_back({{0, 0, screen.Width, screen.Height}});
  if (fullWidth <= 0) fullWidth = screen.Width;
  auto shrink = [&](int32_t size) {
    const int32_t shrunk = MulDiv(size, screen.Width, fullWidth);
    return shrunk == 0 && size != 0 ? (size < 0 ? -1 : 1) : shrunk;  // 0 is no size at all
  };
  if (Drawable(&picture)) {
    const TScaleMode mode = FSettings.Scale();
    std::vector<TRect> areas, placements;
    for (const TMonitor& monitor : monitors) {
      areas.push_back(monitor.Bounds);
      // Only a picture at its own size has a size on the screen to shrink.
      placements.push_back(
          mode == TScaleMode::None
              ? PlacePicture(mode, shrink(picture.Width()), shrink(picture.Height()),
                             monitor.Bounds)
              : PlacePicture(mode, picture.Width(), picture.Height(), monitor.Bounds));
    }
    DrawScaledPicture(slide, picture, areas, placements);
  }
  TSSFileLocations miniature = FSettings;
  miniature.TextFont.Height = shrink(FSettings.TextFont.Height);
  miniature.CaptionMargin = shrink(FSettings.CaptionMargin);
  TSlideComposer(miniature, FPlatform.CaptionPainter())
      .DrawCaptions(slide, monitors, FSettings.CaptionOf(0));
  return slide;
}

uint8_t TShowSession::NextStyle() {
  int count = FSettings.EffectCount();
  if (count == 0) return 0;  // the custom style: the picture at once
  int32_t style;
  if (FSettings.lRandomStyle) {
    style = FSettings.EffectAt(FRandom.Random(count));
  } else {
    style = FSettings.EffectAt(FEffectIndex);
    FEffectIndex = FEffectIndex < count - 1 ? FEffectIndex + 1 : 0;
  }
  return static_cast<uint8_t>(style);  // only the low 8 bits reach the view
}

}  // namespace pixvane
