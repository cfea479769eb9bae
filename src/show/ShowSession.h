#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "base/Random.h"
#include "graphics/Bitmap.h"
#include "package/Picture.h"
#include "package/SSFileLocations.h"
#include "show/FramePace.h"
#include "show/MotionSlide.h"
#include "show/MusicPlayer.h"
#include "show/PictureOrder.h"
#include "show/ShowPlatform.h"
#include "show/SlidePreparer.h"
#include "show/TickLead.h"
#include "transition/TransitionView.h"

namespace pixvane {

class TStream;

// One run of a show, from a read package to painted frames: the settings,
// the order of pictures and styles, a slide composed for the whole screen
// with its caption on every monitor, the transition to it, the pause after
// it, the music and the Flash movies' turns. Whatever the platform does is
// asked of TShowPlatform; a host drives the session from its events:
//
//   ReadPackage (and ExtractMedia where media play from files), Start,
//   then ShowTimerTick at the first idle moment and at every show timer
//   tick; MusicNotify when a track ends; DeleteMedia on the way out.
//
// Threads: the session belongs to the thread that runs the show, and every
// call to it, to its platform and to its view comes on that thread (the
// view runs its transitions there too, not on a timing thread). Where the
// platform prepares slides in the background, only the preparer's work runs
// on a worker: it reads the settings and the package file it is handed and
// returns what it made; the settings do not change while a show runs.
class TShowSession {
 public:
  // The platform outlives the session; its music device is looked at here.
  // random is the show's generator as seeded for it: the picture order, the
  // music, the random styles and the pan and zoom all draw from it, in turn,
  // on the show's thread.
  TShowSession(TShowPlatform& platform, TRandom random);
  ~TShowSession();
  TShowSession(const TShowSession&) = delete;
  TShowSession& operator=(const TShowSession&) = delete;

  // The package's settings: ReadPackage fills them, and a host may adjust
  // them before Start (the user's own mute choice).
  TSSFileLocations& Settings() { return FSettings; }
  // Reads the settings record of the package file; false when the file
  // holds no package. An unreadable record raises EError and leaves what was
  // read before the error.
  bool ReadPackage(TStream& file);
  // The sounds and movies as files of their own, where the music and the
  // Flash control find them, and their deletion.
  void ExtractMedia(TStream& file);
  void DeleteMedia();

  // The area the view paints (it centres and stretches the slides in it)
  // and its colour where no slide covers it.
  void SetClientSize(int32_t width, int32_t height) { FView.SetClientSize(width, height); }
  void SetColor(TColor color) { FView.Color = color; }

  // At activation, before the first tick: a Flash package without pictures
  // hands over to its movies at once, a photo package starts its music, and
  // on a platform that prepares slides in the background the first one is
  // read and composed from now on.
  void Start();
  // The next slide: picks the picture and style, composes the slide and runs
  // the transition to it, with the show timer off until the transition has
  // ended; then the timer is armed with the interval (none: the show stays
  // on this slide) and, in the background, the next slide is prepared. After a Flash package's last
  // picture the movies take over and the timer stays off. An error leaves the timer off, so the
  // show stops on what the screen shows; it is raised for the host to
  // report.
  void ShowTimerTick();
  // No more slides: the show stays on what it shows, still.
  void Stop() {
    FPlatform.DisarmShowTimer();
    StopMotion();
  }
  // The music device's end-of-play notification: the next track.
  void MusicNotify();

  // The first slide held still, drawn once (a preview): picture, the
  // package's first, placed by the scale mode on every monitor of screen,
  // with its caption; no transition, music or timer, and nothing taken from
  // the show's order. A screen that stands for one fullWidth pixels wide
  // shows the slide in miniature: a picture at its own size, the caption and
  // its margin shrink with it.
  TBitmap StillSlide(const TJPEGImage& picture, const TShowScreen& screen, int32_t fullWidth);

  const TTransitionView& View() const { return FView; }
  // The picture of the tick that runs or ran last.
  int32_t PicIndex() const { return FPicIndex; }

 private:
  // The pictures of one tick, taken from the order ahead of it: one for
  // the whole screen, or one per monitor; none when a Flash package's
  // pictures are through. Screen is what they were composed for.
  struct TSlidePlan {
    std::vector<int32_t> Pictures;
    TShowScreen Screen;
    std::vector<TMotionDraw> Motion;  // with pan and zoom: each picture's path
    // Each monitor's own picture: portrait pictures on portrait monitors,
    // where the order is a random one anyway.
    bool MatchOrientation = false;
    // Nothing shows yet and nobody else needs the cores: the first slide
    // is scaled on both, the later ones leave one to the moving frames.
    int Threads = 1;
  };
  TSlidePlan PlanSlide();
  void PrepareSlide(const TSlidePlan& plan);
  void PrepareNextSlide();
  TSlidePreparer::TPrepared TakeSlide(TSlidePlan& plan);
  static TComposedSlide ComposeSlide(const TSSFileLocations& settings, const TSlidePlan& plan,
                                     TStream& file);
  void DrawCaptions(TBitmap& slide);
  void SetStyles(const TShowScreen& screen);
  uint8_t NextStyle();
  // Pan and zoom: the pulse of frames started once the transition has ended
  // and stopped before the next, and one frame.
  void StartMotion(uint32_t transitionMs);
  void StopMotion();
  void MotionFrame();

  TShowPlatform& FPlatform;
  TSSFileLocations FSettings;
  TRandom FRandom;  // before what draws from it
  TTransitionView FView;
  TPictureOrder FOrder;
  TSlidePreparer FPreparer;
  std::optional<TSlidePlan> FNext;       // in the background: the slide being prepared
  std::unique_ptr<TMusicPlayer> FMusic;  // with the platform's music device only
  // The slide on screen: its pictures that move, each monitor with the
  // picture it shows (for its caption), when its first frame showed and its
  // paths' share per millisecond.
  std::vector<std::unique_ptr<TMotionSlide>> FMotion;
  std::vector<std::pair<TMonitor, int32_t>> FShown;
  uint32_t FMotionStart = 0;
  double FMotionPace = 0;
  TTickLead FTickLead;
  TFramePace FFramePace;  // kept from slide to slide: the machine stays the same
  int32_t FPicIndex = 0;
  int32_t FEffectIndex = 0;  // the next style of a show that takes them in order
};

}  // namespace pixvane
