#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "base/Bitmap.h"
#include "package/Picture.h"
#include "package/SSFileLocations.h"
#include "show/PictureOrder.h"
#include "transition/TransitionView.h"

namespace pixvane {

// What the slide sequencer needs of the saver window around it.
class TSlideHost {
 public:
  virtual ~TSlideHost() = default;
  // The picture object at an absolute offset of the executable; read errors
  // are raised. The file may stay open (writers denied) until PictureDone.
  virtual std::unique_ptr<TImage> LoadPictureAt(int32_t offset) = 0;
  // The tick is over with its picture: transition ended, or an error.
  virtual void PictureDone() {}
  virtual int32_t ScreenWidth() = 0;
  virtual int32_t ScreenHeight() = 0;
  // Draws text as one line with its top-left corner at (x, y) in the font's
  // size, colour and face, with no background box; Measure gives its extent.
  virtual void MeasureText(const std::string& text, const TFont& font, int32_t& cx,
                           int32_t& cy) = 0;
  virtual void DrawText(TBitmap& slide, int32_t x, int32_t y, const std::string& text,
                        const TFont& font) = 0;
  virtual void SetShowTimerEnabled(bool enabled) = 0;
  virtual void ProcessMessages() = 0;
  // The Flash show: hides the Flash control if it shows (before each slide),
  // and takes over after the last picture of a Flash package.
  virtual void HideFlash() {}
  virtual void StartFlashShow() {}
};

// The show timer's handler: picks the next picture and style, composes a
// screen-size slide with the caption and runs the transition to it.
class TSlideSequencer {
 public:
  TSlideSequencer(const TSSFileLocations& settings, TCustomTransitionView& view, TSlideHost& host)
      : FSettings(settings), FView(view), FHost(host), FOrder(settings) {}

  // One tick. An error leaves the show timer disabled, so the show stops on
  // what is on screen; the caller reports it.
  void ShowTimerTick();

  // The picture on black at screen size: stretched to the whole screen, or
  // centred at its own size (cut on all sides when larger), with the
  // caption centred at the bottom.
  TBitmap ComposeSlide(TJPEGImage* graphic);

  int32_t FPicIndex = 0;  // the picture of the tick that runs or ran last
  int32_t FEffectIndex = 0;

 private:
  uint8_t NextStyle();
  void DrawCaption(TBitmap& slide);

  const TSSFileLocations& FSettings;
  TCustomTransitionView& FView;
  TSlideHost& FHost;
  TPictureOrder FOrder;
};

}  // namespace pixvane
