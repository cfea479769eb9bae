#pragma once
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace pixvane {

class TCustomTransitionView;
class TViewHost;

// The timing thread of a threaded transition. It only measures time,
// sleeps, and hands each step to the user-interface thread through the
// host; when it ends, it runs the view's finish routine there too.
//
// Threads: the view makes, terminates and destroys it on the user-interface
// thread. Of the view it reads only the state on its own thread; all else
// it touches in its steps. Terminate, Ended and InStep may come from
// either thread.
class TAnimateThread {
 public:
  TAnimateThread(TCustomTransitionView& view, TViewHost& host, int priority);
  // Waits for the thread's end; call it once Ended() is true.
  ~TAnimateThread();
  TAnimateThread(const TAnimateThread&) = delete;
  TAnimateThread& operator=(const TAnimateThread&) = delete;

  // Tells the thread to end after the current step; wakes it from its sleep.
  void Terminate();
  // True once the finish routine has run and the thread is about to return.
  bool Ended() const { return FEnded; }
  // True while a step of this thread runs on the user-interface thread, where
  // waiting for the thread's end would wait for ourselves.
  bool InStep() const { return FInStep; }

 private:
  void Execute(int priority);
  void Run();
  void SleepFor(uint32_t ms);

  TCustomTransitionView& FView;
  TViewHost& FHost;
  std::atomic<bool> FTerminated{false}, FEnded{false}, FInStep{false};
  std::mutex FMutex;
  std::condition_variable FWake;
  std::thread FThread;
};

}  // namespace pixvane
