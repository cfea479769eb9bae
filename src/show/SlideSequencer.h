#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"
#include "package/Picture.h"
#include "package/SSFileLocations.h"
#include "show/PictureOrder.h"
#include "show/SlideComposer.h"
#include "transition/TransitionView.h"

namespace pixvane {

// What the slide sequencer needs of the saver window around it.
class TSlideHost : public TCaptionPainter {
 public:
  virtual ~TSlideHost() = default;
  // The picture object at an absolute offset of the executable; read errors
  // are raised. The file may stay open (writers denied) until PictureDone.
  virtual std::unique_ptr<TImage> LoadPictureAt(int32_t offset) = 0;
  // The tick is over with its picture: transition ended, or an error.
  virtual void PictureDone() {}
  // The size of the slide: the window, which covers every monitor.
  virtual int32_t ScreenWidth() = 0;
  virtual int32_t ScreenHeight() = 0;
  // The monitors in the window's coordinates; one screen by default.
  virtual std::vector<TMonitor> Monitors() { return {{{0, 0, ScreenWidth(), ScreenHeight()}}}; }
  virtual void SetShowTimerEnabled(bool enabled) = 0;
  virtual void ProcessMessages() = 0;
  // The Flash show: hides the Flash control if it shows (before each slide),
  // and takes over after the last picture of a Flash package.
  virtual void HideFlash() {}
  virtual void StartFlashShow() {}
};

// The show timer's handler: picks the next picture and style, composes a
// slide for the whole window with the caption (see TSlideComposer) and runs
// the transition to it, once across every monitor.
class TSlideSequencer {
 public:
  TSlideSequencer(const TSSFileLocations& settings, TCustomTransitionView& view, TSlideHost& host)
      : FSettings(settings), FView(view), FHost(host), FOrder(settings) {}

  // One tick. An error leaves the show timer disabled, so the show stops on
  // what is on screen; the caller reports it.
  void ShowTimerTick();

  int32_t FPicIndex = 0;  // the picture of the tick that runs or ran last
  int32_t FEffectIndex = 0;

 private:
  uint8_t NextStyle();

  const TSSFileLocations& FSettings;
  TCustomTransitionView& FView;
  TSlideHost& FHost;
  TPictureOrder FOrder;
};

}  // namespace pixvane
