#include "transition/win32/FrameClock.h"

#include <mmsystem.h>

#include <algorithm>

namespace pixvane {
namespace {

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

HANDLE CreateHighResolutionTimer() {
  return CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                TIMER_ALL_ACCESS);
}

}  // namespace

int64_t MicrosecondsNow() {
  static const int64_t frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart / frequency * 1000000 + now.QuadPart % frequency * 1000000 / frequency;
}

TFineTimer::TFineTimer() : FTimer(CreateHighResolutionTimer()) {
  if (FTimer) return;
  FTimer = TKernelHandle(CreateWaitableTimerW(nullptr, FALSE, nullptr));
  FRaisedResolution = timeBeginPeriod(1) == TIMERR_NOERROR;
}

TFineTimer::~TFineTimer() {
  if (FRaisedResolution) timeEndPeriod(1);
}

void TFineTimer::Set(int64_t us) {
  // Negative: relative, in 100 ns units.
  LARGE_INTEGER due;
  due.QuadPart = -std::max<int64_t>(us, 0) * 10;
  SetWaitableTimer(FTimer.Get(), &due, 0, nullptr, nullptr, FALSE);
}

TFrameClock::TFrameClock(HWND window, UINT message, int64_t periodUs)
    : FWindow(window),
      FMessage(message),
      FPeriodUs(std::max<int64_t>(periodUs, 1000)),
      FStop(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      FThread([this] { Run(); }) {}

TFrameClock::~TFrameClock() {
  SetEvent(FStop.Get());
  FThread.join();
}

void TFrameClock::Run() {
  TFineTimer timer;
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
  // Beats fall on a grid from the start, so waking a little late now and
  // then does not drift the pace.
  int64_t next = MicrosecondsNow() + FPeriodUs;
  const HANDLE waits[] = {FStop.Get(), timer.Handle()};
  for (;;) {
    timer.Set(next - MicrosecondsNow());
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return;
    if (!FPosted.exchange(true)) PostMessageW(FWindow, FMessage, 0, 0);
    next += FPeriodUs;
    const int64_t now = MicrosecondsNow();
    if (next <= now) next = now + FPeriodUs - (now - next) % FPeriodUs;  // skipped beats
  }
}

}  // namespace pixvane
