#include "transition/HeadlessViewHost.h"

#include <algorithm>
#include <chrono>

namespace pixvane {

THeadlessViewHost::THeadlessViewHost(TClock clock) : FClock(clock) {}

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
  if (FClock == TClock::Virtual) return static_cast<uint32_t>(FVirtualUs / 1000);
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void THeadlessViewHost::ProcessMessages(uint32_t maxWaitMs) {
  if (OnMessages) OnMessages();
  if (FSteps.RunQueued() || maxWaitMs == 0) return;
  if (FClock == TClock::Virtual)
    Advance(maxWaitMs);
  else
    FSteps.WaitFor(maxWaitMs);
  FSteps.RunQueued();
}

void THeadlessViewHost::StartFrames(uint32_t periodUs, std::function<void()> onFrame) {
  FFramePeriodUs = std::max<uint32_t>(periodUs, 1);
  FNextFrameUs = FVirtualUs + FFramePeriodUs;
  FOnFrame = std::move(onFrame);
}

void THeadlessViewHost::AdvanceWithFrames(uint32_t ms) {
  const uint64_t end = FVirtualUs + uint64_t{ms} * 1000;
  while (FOnFrame && FNextFrameUs <= end) {
    FVirtualUs = FNextFrameUs;
    FNextFrameUs += FFramePeriodUs;
    // The beat may stop the pulse, which must not free what runs.
    std::function<void()> onFrame = FOnFrame;
    onFrame();
  }
  FVirtualUs = std::max(FVirtualUs.load(), end);
}

}  // namespace pixvane
