#pragma once
#include <windows.h>

namespace pixvane {

// What the saver window claims from the system while it runs, each given
// back by its owner's end. The window keeps them in optionals: engaged
// exactly while claimed, so nothing is given back that was never taken.

// The mouse cursor, hidden over the whole screen. The platform counts hides
// and shows, so one show undoes exactly this hide.
class THiddenCursor {
 public:
  THiddenCursor() { ShowCursor(FALSE); }
  ~THiddenCursor() { ShowCursor(TRUE); }
  THiddenCursor(const THiddenCursor&) = delete;
  THiddenCursor& operator=(const THiddenCursor&) = delete;
};

// The system's flag that a screen saver is running: set while the saver
// covers the screen, cleared whichever way it ends.
class TSaverRunningFlag {
 public:
  TSaverRunningFlag() { Set(true); }
  ~TSaverRunningFlag() { Set(false); }
  TSaverRunningFlag(const TSaverRunningFlag&) = delete;
  TSaverRunningFlag& operator=(const TSaverRunningFlag&) = delete;

 private:
  static void Set(bool running) {
    BOOL previous = FALSE;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running ? 1 : 0, &previous, 0);
  }
};

// A window's timer: WM_TIMER with its id every intervalMs until it ends.
class TWindowTimer {
 public:
  TWindowTimer(HWND window, UINT_PTR id, UINT intervalMs) : FWindow(window), FId(id) {
    SetTimer(window, id, intervalMs, nullptr);
  }
  ~TWindowTimer() { KillTimer(FWindow, FId); }
  TWindowTimer(const TWindowTimer&) = delete;
  TWindowTimer& operator=(const TWindowTimer&) = delete;

 private:
  HWND FWindow;
  UINT_PTR FId;
};

}  // namespace pixvane
