#pragma once
#include <exception>
#include <functional>
#include <memory>
#include <thread>

#include "graphics/Bitmap.h"

namespace pixvane {

class TStream;

// A slide read and composed ahead of its tick. In the background a worker
// thread does it while the current slide shows, so the next transition can
// start on time; without one, the work runs when the slide is taken, which
// gives the same slide. One slide at most is prepared at a time, and the
// package file it was read from travels with it: the show keeps it open
// until the slide is on screen.
class TSlidePreparer {
 public:
  using TOpen = std::function<std::unique_ptr<TStream>()>;
  using TWork = std::function<TBitmap(TStream& file)>;
  struct TPrepared {
    TBitmap Slide;
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
  bool FDone = false;  // the work has run (or failed)
  TWork FWork;
  std::unique_ptr<TStream> FFile;
  TBitmap FSlide;
  std::exception_ptr FError;
  std::thread FWorker;
};

}  // namespace pixvane
