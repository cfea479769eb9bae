#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <thread>

#include "base/win32/Handles.h"

namespace pixvane {

// A timer that wakes a waiting thread within a fraction of a millisecond of
// its time: a high-resolution waitable timer where Windows has them (10,
// version 1803 on), else an ordinary one with the system's timer resolution
// raised to 1 ms for as long as it lives. SetTimer and plain waits keep the
// 15.6 ms tick, a whole frame late at 60 frames a second.
class TFineTimer {
 public:
  TFineTimer();
  ~TFineTimer();
  TFineTimer(const TFineTimer&) = delete;
  TFineTimer& operator=(const TFineTimer&) = delete;

  // Signals the handle us microseconds from now (at once for 0).
  void Set(int64_t us);
  HANDLE Handle() const { return FTimer.Get(); }

 private:
  TKernelHandle FTimer;
  bool FRaisedResolution = false;
};

// Microseconds of the performance counter, since an arbitrary start.
int64_t MicrosecondsNow();

// The pulse of frames: a thread of its own waits on a fine timer for each
// beat and posts message to window, one at a time: a beat that finds the
// last one not yet served is skipped, so a slow frame never piles up work.
// The window's procedure calls Served before it draws the frame.
class TFrameClock {
 public:
  TFrameClock(HWND window, UINT message, int64_t periodUs);
  ~TFrameClock();
  TFrameClock(const TFrameClock&) = delete;
  TFrameClock& operator=(const TFrameClock&) = delete;

  void Served() { FPosted = false; }

 private:
  void Run();

  HWND FWindow;
  UINT FMessage;
  int64_t FPeriodUs;
  std::atomic<bool> FPosted{false};
  TKernelHandle FStop;
  std::thread FThread;
};

}  // namespace pixvane
