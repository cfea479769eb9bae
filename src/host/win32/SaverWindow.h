#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "base/Stream.h"
#include "host/ExitRules.h"
#include "host/win32/ExitPlatformWin32.h"
#include "host/win32/FlashHost.h"
#include "host/win32/SaverClaims.h"
#include "host/win32/WindowShowPlatform.h"
#include "show/ShowSession.h"

namespace pixvane {

inline constexpr UINT WM_STARTSHOW = WM_USER + 1;
// Stops the show and asks to end, as an exit event does. The saver never
// sends it itself: it is there for other programs.
inline constexpr UINT WM_STOPSHOW = WM_USER + 2;
inline constexpr UINT WM_SHOWTICK = WM_USER + 3;

// The saver window: covers every monitor in black above everything, runs
// the package's show on its platform (and its Flash control, for the Flash
// kind), and ends the saver by the package's exit rules.
class TfrmScrn {
 public:
  // title is the caption of the window's error messages; random is the
  // generator as seeded at start-up, which the show takes over.
  TfrmScrn(std::string exePath, std::string title, TRandom random);
  ~TfrmScrn();
  TfrmScrn(const TfrmScrn&) = delete;
  TfrmScrn& operator=(const TfrmScrn&) = delete;

  // Creates and shows the window and runs the message loop until it closes.
  void Run();

 private:
  // The window's life, in order. An activation that finds no package, or
  // fails, leaves the phase as it was, and the next activation tries again.
  enum class TPhase {
    Created,         // at its design size, not yet activated
    Unreadable,      // an activation found settings it cannot read and goes on with
                     // what was read; the message loop ends at its next turn
    Terminating,     // that activation has run to its end
    WaitingForIdle,  // activated: covers the screen; the first idle moment posts the start
    StartPosted,     // the start is on its way through the queue
    ShowRunning,     // the show runs on its timer
    Closed,          // cleaned up: nothing starts any more; the loop runs on to WM_QUIT
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void FormCreate();
  void FormActivate();
  bool ReadSettingsRecord(TStream& file);
  void Paint();
  bool LoopEnded() const { return FPhase == TPhase::Unreadable || FPhase == TPhase::Terminating; }
  bool PostStartWhenIdle();
  void CloseCleanUp();
  [[noreturn]] void EndSaver();
  void ExitRule(bool end);
  void StartFlash();
  void StopShow();
  template <typename Handler>
  void Guarded(Handler&& handler);

  std::string FExePath;
  std::string FTitle;
  TRandom FRandom;  // the show's generator until the show is made
  TPhase FPhase = TPhase::Created;
  bool FActivating = false;  // inside FormActivate
  HWND FWindow = nullptr;
  // Made when the window is: the show, its platform and the exit rules.
  std::unique_ptr<TWindowShowPlatform> FShow;
  std::unique_ptr<TShowSession> FSession;  // after what it uses, before what uses its settings
  std::unique_ptr<TWin32ExitPlatform> FExitPlatform;
  std::unique_ptr<TExitRules> FExitRules;
  std::unique_ptr<TSaverFlash> FFlash;  // the Flash kind only
  std::optional<THiddenCursor> FHiddenCursor;
  std::optional<TSaverRunningFlag> FRunningFlag;
};

}  // namespace pixvane
