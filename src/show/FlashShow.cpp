#include "show/FlashShow.h"

#include "base/AsciiText.h"
#include "base/Errors.h"

namespace pixvane {

void TFlashShow::PlayNextMovie() {
  if (!FControl.Visible()) FControl.SetVisible(true);
  FHost.HideShowView();
  const TMediaRun movies = FSettings.Flash();
  if (movies.Count() == 0) return;  // the blank control stays on screen
  FHost.SetFlashTimerEnabled(false);
  if (FFlashIndex > movies.Count() - 1) FFlashIndex = 0;
  FControl.Stop();
  FControl.SetMovie(FPathOf(movies.FileNameAt(FFlashIndex)));
  try {
    FControl.Play();
  } catch (const EError&) {
    // The control shows whatever it could load; the watch moves on from it.
  }
  ++FFlashIndex;
  FHost.SetFlashTimerEnabled(true);
}

void TFlashShow::TimerFlashTimer() {
  // Read in this order: a movie that reaches its end between the two reads
  // counts as ended now rather than a second later.
  const int32_t total = FControl.TotalFrames();
  if (total <= FControl.CurrentFrame()) PlayNextMovie();
}

void TFlashShow::FlashFSCommand(std::string_view command) {
  if (!FSettings.lExitFSCommandQuit) return;
  if (AsciiLowerCase(command) != "quit") return;
  FControl.StopPlay();
  FHost.RequestExit();
}

}  // namespace pixvane
