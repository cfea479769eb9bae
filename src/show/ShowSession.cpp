#include "show/ShowSession.h"

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
  FView.Execute();
  file.reset();
  FPlatform.ViewHost().ProcessMessages(0);
  // A timer without an interval would never tick: the show stays here.
  if (FSettings.Interval > 0) FPlatform.ArmShowTimer(static_cast<uint32_t>(FSettings.Interval));
}

TBitmap TShowSession::ComposeSlide(const TImage& image) {
  TShowScreen screen = FPlatform.Screen();
  if (screen.Monitors.empty()) screen.Monitors.push_back({{0, 0, screen.Width, screen.Height}});
  return TSlideComposer(FSettings, FPlatform.CaptionPainter())
      .ComposeSlide(image.Picture.Graphic(), screen.Width, screen.Height, screen.Monitors,
                    FSettings.CaptionOf(FPicIndex));
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
