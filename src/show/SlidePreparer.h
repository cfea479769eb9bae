#pragma once
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "graphics/Bitmap.h"
#include "show/MotionSlide.h"
#include "show/SlideComposer.h"

namespace pixvane {

class TStream;

// Everything one slide's preparation makes: the slide, its pictures that
// move (with pan and zoom) and each monitor with the picture it shows (for
// its caption, drawn later on the show's thread).
struct TComposedSlide {
  TBitmap Slide;
  std::vector<std::unique_ptr<TMotionSlide>> Motion;
  std::vector<std::pair<TMonitor, int32_t>> Shown;
};

// A slide read and composed ahead of its tick. In the background a worker
// thread does it while the current slide shows, so the next transition can
// start on time; without one, the work runs when the slide is taken, which
// gives the same slide. One slide at most is prepared at a time, and the
// package file it was read from travels with it: the show keeps it open
// until the slide is on screen.
//
// Threads: the preparer belongs to the thread that calls Start, Take and
// Discard (the show's). Only the work runs on the worker, and it hands back
// all it makes as its result; whatever it reads must stay unchanged until
// the slide is taken or discarded, which both wait for the worker.
class TSlidePreparer {
 public:
  using TOpen = std::function<std::unique_ptr<TStream>()>;
  using TWork = std::function<TComposedSlide(TStream& file)>;
  struct TPrepared {
    TComposedSlide Slide;
    std::unique_ptr<TStream> File;
  };

  explicit TSlidePreparer(bool background) : FBackground(background) {}
  // Waits for a slide still on its way: the work holds the caller's data.
  ~TSlidePreparer() { Wait(); }
  TSlidePreparer(const TSlidePreparer&) = delete;
  TSlidePreparer& operator=(const TSlidePreparer&) = delete;

  // Starts preparing a slide, dropping one prepared before: the file is
  // opened here, on the caller's thread, and the work reads it.
  void Start(const TOpen& open, TWork work);
  // A slide was started and not yet taken.
  bool Pending() const { return FPending; }
  // The slide started last, once it is ready; an error of its work is
  // raised here, on the caller's thread.
  TPrepared Take();
  // Drops what is prepared or on its way.
  void Discard();

 private:
  void Run();
  void Wait();

  bool FBackground;
  bool FPending = false;
  // Written by the worker and read once it is joined (or by the caller's
  // thread when there is no worker).
  bool FDone = false;  // the work has run (or failed)
  TWork FWork;
  std::unique_ptr<TStream> FFile;
  TComposedSlide FSlide;
  std::exception_ptr FError;
  std::thread FWorker;
};

}  // namespace pixvane
