#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "package/SSFileLocations.h"

namespace pixvane {

// The Flash movie control as the show uses it (the platform's ActiveX
// control on Windows). Every call raises EError when the control fails it.
class TFlashControl {
 public:
  virtual ~TFlashControl() = default;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void Stop() = 0;
  // Loads the movie at a local path.
  virtual void SetMovie(const std::string& path) = 0;
  virtual void Play() = 0;
  virtual void StopPlay() = 0;
  virtual int32_t TotalFrames() = 0;
  virtual int32_t CurrentFrame() = 0;
};

// What the movies need of the saver window around them.
class TFlashHost {
 public:
  virtual ~TFlashHost() = default;
  // The pictures' view goes out of sight under the movies.
  virtual void HideShowView() = 0;
  // The once-a-second watch for a movie's end.
  virtual void SetFlashTimerEnabled(bool enabled) = 0;
  // The package's exit request: asks for the password where one is set and
  // may end the process.
  virtual void RequestExit() = 0;
};

// The movies of a Flash package, one after another in list order and round
// again, each followed by the next once the watch finds it at its last
// frame; a movie's "quit" command ends the saver when the package allows.
class TFlashShow {
 public:
  // pathOf gives the file a stored movie name was extracted to.
  TFlashShow(const TSSFileLocations& settings, TFlashControl& control, TFlashHost& host,
             std::function<std::string(const std::string& name)> pathOf)
      : FSettings(settings), FControl(control), FHost(host), FPathOf(std::move(pathOf)) {}

  // Shows the control and starts the next movie. An error from Stop or from
  // loading leaves the watch off (no movie follows by itself) and is raised.
  void PlayNextMovie();
  // The watch's tick.
  void TimerFlashTimer();
  // A command the movie sends to its host; its arguments are not looked at.
  void FlashFSCommand(std::string_view command);

  int32_t FFlashIndex = 0;

 private:
  const TSSFileLocations& FSettings;
  TFlashControl& FControl;
  TFlashHost& FHost;
  std::function<std::string(const std::string&)> FPathOf;
};

}  // namespace pixvane
