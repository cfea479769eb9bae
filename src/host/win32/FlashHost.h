#pragma once
#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "host/win32/SaverClaims.h"
#include "host/win32/ShockwaveFlash.h"
#include "package/SSFileLocations.h"
#include "show/FlashShow.h"

namespace pixvane {

inline constexpr UINT_PTR FlashTimerId = 2;

// Where the Flash Player download page was: the control is no longer
// offered, and this page of its maker says so.
inline constexpr char FlashDownloadAddress[] =
    "https://www.adobe.com/products/flashplayer/end-of-life.html";

// The Flash kind's movies in the saver window: the control over the whole
// window, the show that drives it and the once-a-second watch (TimerFlash)
// whose WM_TIMER the window hands to TimerFlashTimer.
class TSaverFlash final : public TFlashHost {
 public:
  // What the movies need of the window.
  struct TWindowSide {
    std::function<void()> HideShowView;
    std::function<void()> RequestExit;
    std::function<void(const std::exception&)> Report;  // an error of an event
  };

  // Raises EError when the control cannot be created.
  TSaverFlash(HWND window, const TSSFileLocations& settings, TWindowSide side);

  void PlayNextMovie() { FShow.PlayNextMovie(); }
  void TimerFlashTimer() { FShow.TimerFlashTimer(); }
  // Before each picture: the pictures' view shows through.
  void HideControl();

  void HideShowView() override { FSide.HideShowView(); }
  void SetFlashTimerEnabled(bool enabled) override;
  void RequestExit() override { FSide.RequestExit(); }

 private:
  HWND FWindow;
  TWindowSide FSide;
  TShockwaveFlash FControl;
  TFlashShow FShow;
  std::optional<TWindowTimer> FTimer;
};

// The control for a Flash package. When it is missing: the message asking
// for it (the language file's "DownloadSWF" where it has one), the download
// page opened on Yes, and nothing returned: the caller ends the process.
std::unique_ptr<TSaverFlash> CreateFlashControl(HWND window, const TSSFileLocations& settings,
                                                const std::string& exePath,
                                                const std::string& title,
                                                TSaverFlash::TWindowSide side);

}  // namespace pixvane
