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
#include "package/SSFileLocations.h"
#include "setup/SettingsStore.h"
#include "show/ShowSession.h"
#include "show/win32/MciPlayer.h"
#include "transition/win32/FrameClock.h"
#include "transition/win32/WindowViewHost.h"

namespace pixvane {

inline constexpr UINT WM_STARTSHOW = WM_USER + 1;
inline constexpr UINT WM_STOPSHOW = WM_USER + 2;
inline constexpr UINT WM_SHOWTICK = WM_USER + 3;

// The saver window: covers every monitor in black above everything, is the
// platform of the package's show (its frames, show timer, music device and
// Flash control), and ends the saver by the package's exit rules.
class TfrmScrn : public TShowPlatform {
 public:
  // title is the caption of the window's error messages.
  TfrmScrn(std::string exePath, std::string title);
  ~TfrmScrn() override;
  TfrmScrn(const TfrmScrn&) = delete;
  TfrmScrn& operator=(const TfrmScrn&) = delete;

  // Creates and shows the window and runs the message loop until it closes.
  void Run();

  // What the show needs of the window.
  TViewHost& ViewHost() override { return *FViewHost; }
  void ArmShowTimer(uint32_t ms) override;
  void DisarmShowTimer() override { FShowTimer.reset(); }
  TCaptionPainter& CaptionPainter() override { return *FCaptionPainter; }
  std::unique_ptr<TStream> OpenPackage() override;
  TShowScreen Screen() override;
  bool PreparesInBackground() override { return true; }
  TMediaPlayer* MusicDevice() override { return mpSaver.get(); }
  void HideFlash() override;
  void StartFlashShow() override;

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
  template <typename Handler>
  void Guarded(Handler&& handler);

  std::string FExePath;
  std::string FTitle;
  TPhase FPhase = TPhase::Created;
  bool FActivating = false;  // inside FormActivate
  HWND FWindow = nullptr;
  std::unique_ptr<TWindowViewHost> FViewHost;
  bool FShowViewVisible = true;
  std::unique_ptr<TMciPlayer> mpSaver;
  std::unique_ptr<TCaptionPainter> FCaptionPainter;
  std::unique_ptr<TShowSession> FSession;  // after what it uses, before what uses its settings
  std::unique_ptr<TWin32ExitPlatform> FExitPlatform;
  std::unique_ptr<TExitRules> FExitRules;
  std::unique_ptr<TSaverFlash> FFlash;  // the Flash kind only
  // The show's tick, on the fine clock: SetTimer's would come up to a
  // 15.6 ms tick of the system late.
  std::optional<TFrameClock> FShowTimer;
  std::optional<THiddenCursor> FHiddenCursor;
  std::optional<TSaverRunningFlag> FRunningFlag;
};

}  // namespace pixvane
