#include "transition/StepQueue.h"

#include <chrono>

namespace pixvane {

void TStepQueue::Synchronize(const std::function<void()>& step) {
  if (std::this_thread::get_id() == FOwner)
    step();
  else
    RunAndWait(step);
}

void TStepQueue::RunAndWait(const std::function<void()>& step) {
  TItem item{&step, false, nullptr};
  std::unique_lock<std::mutex> lock(FMutex);
  FItems.push_back(&item);
  FChanged.notify_all();
  if (FWake) FWake();
  FChanged.wait(lock, [&item] { return item.Done; });
  if (item.Error) std::rethrow_exception(item.Error);
}

bool TStepQueue::RunQueued() {
  bool ran = false;
  std::unique_lock<std::mutex> lock(FMutex);
  while (!FItems.empty()) {
    TItem* item = FItems.front();
    FItems.pop_front();
    lock.unlock();
    try {
      (*item->Step)();
    } catch (...) {
      item->Error = std::current_exception();
    }
    lock.lock();
    item->Done = true;
    FChanged.notify_all();
    ran = true;
  }
  return ran;
}

void TStepQueue::WaitFor(uint32_t ms) {
  std::unique_lock<std::mutex> lock(FMutex);
  FChanged.wait_for(lock, std::chrono::milliseconds(ms), [this] { return !FItems.empty(); });
}

}  // namespace pixvane
