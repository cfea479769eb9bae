#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "show/MusicPlayer.h"
#include "show/SlideComposer.h"
#include "transition/ViewHost.h"

namespace pixvane {

class TStream;

// The screen a slide covers: its size, and the monitors on it in its own
// coordinates. No monitors means one over the whole screen at 96 dpi.
struct TShowScreen {
  int32_t Width = 0, Height = 0;
  std::vector<TMonitor> Monitors;
  friend bool operator==(const TShowScreen&, const TShowScreen&) = default;
};

// What a show needs of the platform that runs it. A host of the show (the
// saver window, the tool's offscreen render, ...) implements this, hands its
// show timer's ticks to TShowSession::ShowTimerTick and leaves the rest of
// the show to the session. Every call comes on the thread that runs the
// show, the background preparation of slides included: its worker is handed
// an opened file and never calls the platform.
class TShowPlatform {
 public:
  virtual ~TShowPlatform() = default;

  // Where the frames go: the host of the view that paints them, with the
  // message loop and the clock the transitions run on. The session attaches
  // its view to it for its own lifetime.
  virtual TViewHost& ViewHost() = 0;
  // The show timer. Armed, it ticks ms from now and every ms after until it
  // is armed anew or disarmed; the session disarms it first thing in a tick
  // and arms it again when it wants the next one.
  virtual void ArmShowTimer(uint32_t ms) = 0;
  virtual void DisarmShowTimer() = 0;
  // The caption's text in the package's font; used on the show's thread
  // only, so a painter may keep caches without a lock.
  virtual TCaptionPainter& CaptionPainter() = 0;
  // The package file, opened anew for reading (writers denied where the
  // platform can). A show holds it only while one picture is read and shown.
  virtual std::unique_ptr<TStream> OpenPackage() = 0;
  // Asked for every slide: the monitors may have changed.
  virtual TShowScreen Screen() = 0;
  // Whether the next slide is read and composed on a thread of its own
  // while the current one shows.
  virtual bool PreparesInBackground() { return false; }
  // The device the music plays on; none: the show is silent.
  virtual TMediaPlayer* MusicDevice() { return nullptr; }
  // The Flash movies of a Flash package: hidden before every slide, and in
  // charge after the last picture (at once when there are none).
  virtual void HideFlash() {}
  virtual void StartFlashShow() {}
};

}  // namespace pixvane
