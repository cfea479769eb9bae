#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "show/CaptionText.h"
#include "show/ShowPlatform.h"
#include "show/win32/MciPlayer.h"
#include "transition/win32/FrameClock.h"
#include "transition/win32/WindowViewHost.h"

namespace pixvane {

// The show's platform in a window of ours, for any host that shows a
// package in one: the view painted into the window, the show timer on the
// fine clock, the caption at the screen's resolution, the music through MCI,
// the package read from the saver's own file, and the screen as every
// monitor together. The window keeps its messages: it hands tickMessage (a
// show timer tick), MM_MCINOTIFY (a track's end) and WM_PAINT to the
// session and to Paint. A Flash control is the window's; the show reaches
// it through FlashCalls.
class TWindowShowPlatform final : public TShowPlatform {
 public:
  struct TFlashCalls {
    std::function<void()> Hide;   // before every slide
    std::function<void()> Start;  // the movies take over
  };

  // The view lies in bounds of the window's client area.
  TWindowShowPlatform(HWND window, UINT tickMessage, std::string packagePath, const TRect& bounds);
  TWindowShowPlatform(const TWindowShowPlatform&) = delete;
  TWindowShowPlatform& operator=(const TWindowShowPlatform&) = delete;

  TViewHost& ViewHost() override { return FViewHost; }
  void ArmShowTimer(uint32_t ms) override;
  void DisarmShowTimer() override { FShowTimer.reset(); }
  // A tick that arrives after the timer was disarmed is one to drop.
  bool ShowTimerArmed() const { return FShowTimer.has_value(); }
  TCaptionPainter& CaptionPainter() override { return FCaptionPainter; }
  std::unique_ptr<TStream> OpenPackage() override;
  TShowScreen Screen() override;
  bool PreparesInBackground() override { return true; }
  TMediaPlayer* MusicDevice() override { return &FMusic; }
  void HideFlash() override;
  void StartFlashShow() override;

  TFlashCalls FlashCalls;
  void SetBounds(const TRect& bounds) { FViewHost.SetBounds(bounds); }
  // From now on the window paints black where the view was (a Flash movie
  // covers it).
  void HideView();
  // The window's paint: the view, or black once it is hidden.
  void Paint(HDC dc, const RECT& area);
  // The device lets go of its sound, so the file can be deleted.
  void CloseMusic() { FMusic.Close(); }

 private:
  HWND FWindow;
  UINT FTickMessage;
  std::string FPackagePath;
  TWindowViewHost FViewHost;
  bool FViewVisible = true;
  TMciPlayer FMusic;
  TCaptionText FCaptionPainter;
  // The show's tick, on the fine clock: SetTimer's would come up to a
  // 15.6 ms tick of the system late.
  std::optional<TFrameClock> FShowTimer;
};

}  // namespace pixvane
