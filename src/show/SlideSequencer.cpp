#include "show/SlideSequencer.h"

#include "base/Random.h"
#include "transition/Copy.h"

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
  TBitmap slide = ComposeSlide(image->Picture.Graphic());
  image.reset();
  FView.SetPicture(&slide);
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

TBitmap TSlideSequencer::ComposeSlide(TJPEGImage* graphic) {
  const int32_t sw = FHost.ScreenWidth(), sh = FHost.ScreenHeight();
  TBitmap slide(sw, sh);  // black
  if (graphic && graphic->Width() > 0 && graphic->Height() > 0) {
    if (FSettings.lStretch) {
      // Decoding at a reduced scale that still covers the screen costs a
      // fraction of a full decode for a large photo.
      TBitmap picture = graphic->Decode(graphic->ScaleToCover(sw, sh));
      StretchCopy(slide, {0, 0, sw, sh}, picture, picture.Bounds());
    } else {
      TBitmap picture = graphic->Decode(1);
      Draw(slide, (sw - picture.Width()) / 2, (sh - picture.Height()) / 2, picture);
    }
  }
  if (!FSettings.Text.empty()) DrawCaption(slide);
  return slide;
}

void TSlideSequencer::DrawCaption(TBitmap& slide) {
  int32_t cx = 0, cy = 0;
  FHost.MeasureText(FSettings.Text, FSettings.TextFont, cx, cy);
  FHost.DrawText(slide, slide.Width() / 2 - cx / 2, slide.Height() - cy, FSettings.Text,
                 FSettings.TextFont);
}

}  // namespace pixvane
