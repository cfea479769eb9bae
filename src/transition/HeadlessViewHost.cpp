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

const TBitmap& THeadlessViewHost::Paint() {
  FView->Paint();
  return FView->PaintBuffer();
}

uint32_t THeadlessViewHost::TickCount() {
  if (FClock == TClock::Virtual) return FVirtualTicks;
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void THeadlessViewHost::ProcessMessages(uint32_t maxWaitMs) {
  if (OnMessages) OnMessages();
  if (FSteps.RunQueued() || maxWaitMs == 0) return;
  if (FClock == TClock::Virtual)
    FVirtualTicks += maxWaitMs;
  else
    FSteps.WaitFor(maxWaitMs);
  FSteps.RunQueued();
}

void THeadlessViewHost::Synchronize(const std::function<void()>& step) {
  if (std::this_thread::get_id() == FOwner)
    step();
  else
    FSteps.RunAndWait(step);
}

}  // namespace pixvane
