#include "show/ShowSession.h"

#include "base/Paths.h"
#include "base/Random.h"
#include "base/Stream.h"
#include "package/MediaFiles.h"
#include "package/Package.h"
#include "show/SlideComposer.h"

namespace pixvane {
namespace {

bool Portrait(int32_t width, int32_t height) {
  return height > width;
}

// The picture each monitor shows: in the order taken, or, where the order is
// a random one anyway, portrait pictures on portrait monitors.
std::vector<const TJPEGImage*> PicturesForMonitors(
    const std::vector<std::unique_ptr<TImage>>& images, const std::vector<TMonitor>& monitors,
    bool matchOrientation) {
  std::vector<const TJPEGImage*> graphics;
  for (const auto& image : images) graphics.push_back(image->Picture.Graphic());
  if (!matchOrientation) return graphics;
  std::vector<bool> portraitPictures, portraitMonitors;
  for (const TJPEGImage* graphic : graphics)
    portraitPictures.push_back(graphic && Portrait(graphic->Width(), graphic->Height()));
  for (const TMonitor& monitor : monitors)
    portraitMonitors.push_back(Portrait(monitor.Bounds.Width(), monitor.Bounds.Height()));
  std::vector<const TJPEGImage*> matched;
  for (int picture : MatchOrientations(portraitPictures, portraitMonitors))
    matched.push_back(picture >= 0 ? graphics[static_cast<size_t>(picture)] : nullptr);
  return matched;
}

}  // namespace

TShowSession::TShowSession(TShowPlatform& platform)
    : FPlatform(platform),
      FView(platform.ViewHost()),
      FOrder(FSettings),
      FPreparer(platform.PreparesInBackground()) {
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
  FPreparer.Discard();  // its work reads the settings and the caption painter
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
  if (FView.Busy()) FView.Stop();
  // The view keeps its own copy; ours goes before the transition runs.
  FView.SetPicture(&prepared.Slide);
  prepared.Slide = TBitmap();
  SetStyles(plan.Screen);
  if (FSettings.lClearOldImage) {
    FView.Clear();
    FView.Update();  // the bare background is what the transition starts from
  }
  FView.Execute();
  prepared.File.reset();
  FPlatform.ViewHost().ProcessMessages(0);
  // A timer without an interval would never tick: the show stays here.
  if (FSettings.Interval > 0) {
    PrepareNextSlide();
    FPlatform.ArmShowTimer(static_cast<uint32_t>(FSettings.Interval));
  }
}

TShowSession::TSlidePlan TShowSession::PlanSlide() {
  TSlidePlan plan{{}, FPlatform.Screen()};
  if (plan.Screen.Monitors.empty())
    plan.Screen.Monitors.push_back({{0, 0, plan.Screen.Width, plan.Screen.Height}});
  const size_t count = FSettings.Monitors() == TMonitorMode::Each ? plan.Screen.Monitors.size() : 1;
  while (plan.Pictures.size() < count)
    if (std::optional<int32_t> next = FOrder.Next())
      plan.Pictures.push_back(*next);
    else
      break;
  return plan;
}

// Only where slides are prepared in the background are the next pictures
// taken from the order ahead of their tick: what is drawn from the shared
// generator, and when, stays as it was.
void TShowSession::PrepareNextSlide() {
  if (!FPlatform.PreparesInBackground() || FSettings.PicCount() == 0) return;
  FNext = PlanSlide();
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

void TShowSession::PrepareSlide(const TSlidePlan& plan) {
  // Everything the work needs is taken here, on the show's thread.
  TCaptionPainter& painter = FPlatform.CaptionPainter();
  const bool matchMonitors = FOrder.IsRandom();
  FPreparer.Start([this] { return FPlatform.OpenPackage(); },
                  [this, plan, &painter, matchMonitors](TStream& file) {
                    std::vector<std::unique_ptr<TImage>> images;
                    for (int32_t index : plan.Pictures) {
                      file.Seek(FSettings.PicOffsetAt(index));
                      images.push_back(ReadPictureObject(file));
                    }
                    TSlideComposer composer(FSettings, painter);
                    const TShowScreen& screen = plan.Screen;
                    if (FSettings.Monitors() == TMonitorMode::Same)
                      return composer.ComposeSlide(images.front()->Picture.Graphic(), screen.Width,
                                                   screen.Height, screen.Monitors);
                    return composer.ComposeEach(
                        PicturesForMonitors(images, screen.Monitors, matchMonitors), screen.Width,
                        screen.Height, screen.Monitors);
                  });
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
