#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace pixvane {

// Steps the timing thread hands to the user-interface thread: the timing
// thread queues one and waits until it has run there; the user-interface
// thread (the one that made the queue) runs whatever is queued when it
// serves its messages.
//
// Threads: Synchronize comes from any thread (the timing threads, any number
// of them, and the owner), RunQueued and WaitFor from the owner only. The
// lock guards the queue and each step's end; a step's error is passed on
// with its end.
class TStepQueue {
 public:
  // wake is called after a step is queued, so the user-interface thread
  // notices (a posted message, say); it may be empty.
  explicit TStepQueue(std::function<void()> wake = {})
      : FWake(std::move(wake)), FOwner(std::this_thread::get_id()) {}

  // From any thread: runs step on the user-interface thread, at once when
  // called there (queueing it would wait for itself), else queued, waited
  // for, and its error passed on.
  void Synchronize(const std::function<void()>& step);
  // On the user-interface thread: runs every queued step; true when one ran.
  bool RunQueued();
  // On the user-interface thread: waits at most ms for a step to be queued.
  void WaitFor(uint32_t ms);

 private:
  void RunAndWait(const std::function<void()>& step);

  struct TItem {
    const std::function<void()>* Step;
    bool Done;
    std::exception_ptr Error;
  };
  std::function<void()> FWake;
  std::thread::id FOwner;
  std::mutex FMutex;
  std::condition_variable FChanged;
  std::deque<TItem*> FItems;
};

}  // namespace pixvane
