#include "transition/AnimateThread.h"

#include <chrono>

#include "transition/TransitionView.h"

namespace pixvane {

TAnimateThread::TAnimateThread(TCustomTransitionView& view, TViewHost& host, int priority)
    : FView(view), FHost(host), FThread([this, priority] { Execute(priority); }) {}

TAnimateThread::~TAnimateThread() {
  Terminate();
  if (FThread.joinable()) FThread.join();
}

void TAnimateThread::Terminate() {
  {
    std::lock_guard<std::mutex> lock(FMutex);
    FTerminated = true;
  }
  FWake.notify_all();
}

void TAnimateThread::SleepFor(uint32_t ms) {
  std::unique_lock<std::mutex> lock(FMutex);
  FWake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return FTerminated.load(); });
}

void TAnimateThread::Execute(int priority) {
  FHost.ApplyThreadPriority(priority);
  try {
    Run();
  } catch (...) {
    // A step that failed ends the animation; the finish routine still runs.
  }
  FHost.Synchronize([this] {
    FInStep = true;
    FView.ThreadEnded(this);
    FInStep = false;
  });
  FEnded = true;
}

void TAnimateThread::Run() {
  while (!FTerminated && FView.FState == TCustomTransitionView::TState::RunningThreaded) {
    uint32_t t0 = FHost.TickCount();
    bool done = false;
    uint32_t delay = 0;
    // Progress, Reverse and Delay belong to the user-interface thread; the
    // step reads them there and reports what the timing needs.
    FHost.Synchronize([&] {
      FInStep = true;
      FView.AdvanceProgress();
      done = FView.Done();
      delay = FView.Delay;
      FInStep = false;
    });
    uint32_t elapsed = FHost.TickCount() - t0;
    if (done)
      Terminate();
    else if (elapsed < delay)
      SleepFor(delay - elapsed);
  }
}

}  // namespace pixvane
