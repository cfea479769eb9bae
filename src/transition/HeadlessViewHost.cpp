#include "transition/HeadlessViewHost.h"

#include <chrono>

namespace pixvane {

THeadlessViewHost::THeadlessViewHost(TClock clock)
    : FClock(clock), FOwner(std::this_thread::get_id()) {}

void THeadlessViewHost::Invalidate(const TRect& area) {
  TRect normal = area.Normalized();
  if (!normal.IsEmpty()) FInvalid |= TRegion(normal);
}

void THeadlessViewHost::Update() {
  if (FInvalid.IsEmpty() || !FView) return;
  FUpdated = FInvalid;
  if (FView->Paint()) {
    ++FPaints;
    if (OnPainted) OnPainted(FView->PaintBuffer());
  }
  FInvalid.Clear();
}

uint32_t THeadlessViewHost::TickCount() {
  if (FClock == TClock::Virtual) return FVirtualTicks;
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool THeadlessViewHost::RunQueuedSteps() {
  bool ran = false;
  std::unique_lock<std::mutex> lock(FMutex);
  while (!FQueue.empty()) {
    TQueued* item = FQueue.front();
    FQueue.pop_front();
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

void THeadlessViewHost::ProcessMessages(uint32_t maxWaitMs) {
  if (OnMessages) OnMessages();
  if (RunQueuedSteps() || maxWaitMs == 0) return;
  if (FClock == TClock::Virtual) {
    FVirtualTicks += maxWaitMs;
  } else {
    std::unique_lock<std::mutex> lock(FMutex);
    FChanged.wait_for(lock, std::chrono::milliseconds(maxWaitMs), [this] { return !FQueue.empty(); });
  }
  RunQueuedSteps();
}

void THeadlessViewHost::Synchronize(const std::function<void()>& step) {
  if (std::this_thread::get_id() == FOwner) {
    step();
    return;
  }
  TQueued item{&step, false, nullptr};
  std::unique_lock<std::mutex> lock(FMutex);
  FQueue.push_back(&item);
  FChanged.notify_all();
  FChanged.wait(lock, [&item] { return item.Done; });
  if (item.Error) std::rethrow_exception(item.Error);
}

}  // namespace pixvane
