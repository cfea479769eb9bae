#include "show/SlideSequencer.h"

#include "base/Random.h"

namespace pixvane {

void TSlideSequencer::ShowTimerTick() {
  if (FSettings.PicCount() == 0) return;
  FHost.SetShowTimerEnabled(false);
  FHost.HideFlash();
  std::optional<int32_t> next = FOrder.Next();
  if (!next) {
    FHost.StartFlashShow();  // the timer stays off: from now on only movies play
    return;
  }
  FPicIndex = *next;
  // However the tick ends, the picture's file is given back.
  struct TDone {
    TSlideHost& Host;
    ~TDone() { Host.PictureDone(); }
  } done{FHost};
  std::unique_ptr<TImage> image = FHost.LoadPictureAt(FSettings.PicOffsetAt(FPicIndex));
  if (FView.Busy()) FView.Stop();
  {
    // The view keeps its own copy; ours goes before the transition runs.
    TBitmap slide = TSlideComposer(FSettings, FHost)
                        .ComposeSlide(image->Picture.Graphic(), FHost.ScreenWidth(),
                                      FHost.ScreenHeight(), FHost.Monitors());
    image.reset();
    FView.SetPicture(&slide);
  }
  FView.Style = NextStyle();
  if (FSettings.lClearOldImage) {
    FView.Clear();
    FView.Update();  // the bare background is what the transition starts from
  }
  FView.Execute();
  FHost.PictureDone();
  FHost.ProcessMessages();
  FHost.SetShowTimerEnabled(true);
}

uint8_t TSlideSequencer::NextStyle() {
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
