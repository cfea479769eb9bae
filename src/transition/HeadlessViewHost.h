#pragma once
#include <atomic>
#include <functional>

#include "graphics/Region.h"
#include "transition/StepQueue.h"
#include "transition/TransitionView.h"
#include "transition/ViewHost.h"

namespace pixvane {

// A view host without a window: invalidated areas are collected, an update
// paints the view into its paint buffer at once, and steps from the timing
// thread run when the owning thread processes messages. Its clock is either
// the real one or one the caller moves: waiting for messages then moves the
// clock by the time waited, so a whole transition runs at once with the
// frame times it would have.
//
// Threads: the host belongs to the thread that makes it, which the view
// lives on; every call comes from there except the two the timing thread
// makes of any host, TickCount and Synchronize (ApplyThreadPriority does
// nothing here). The virtual clock is therefore atomic: the owner moves it
// while the timing thread reads it.
class THeadlessViewHost : public TViewHost {
 public:
  enum class TClock { Real, Virtual };
  explicit THeadlessViewHost(TClock clock = TClock::Virtual);

  void Attach(TCustomTransitionView* view) override { FView = view; }
  // Paints the whole view now, as a window's paint message would, whatever
  // is invalid, and returns the image.
  const TBitmap& Paint();

  void Invalidate(const TRect& area) override;
  void Update() override;
  void ProcessMessages(uint32_t maxWaitMs = 0) override;
  uint32_t TickCount() override;
  void Synchronize(const std::function<void()>& step) override { FSteps.Synchronize(step); }

  // Moves the virtual clock.
  void Advance(uint32_t ms) { FVirtualUs += uint64_t{ms} * 1000; }
  // Moves the virtual clock by ms, stopping at every beat of the frame
  // pulse on the way to run it, as the player's clock would.
  void AdvanceWithFrames(uint32_t ms);
  bool FramesRunning() const { return static_cast<bool>(FOnFrame); }
  void StartFrames(uint32_t periodUs, std::function<void()> onFrame) override;
  void StopFrames() override { FOnFrame = nullptr; }
  // Runs at every ProcessMessages, standing in for the caller's own
  // messages (a timer, a key) that arrive while a transition runs.
  std::function<void()> OnMessages;
  // Runs after every paint that an update caused, with the painted image.
  std::function<void(const TBitmap& painted)> OnPainted;

  // Everything invalidated since the last update, and the count of paints.
  const TRegion& InvalidRegion() const { return FInvalid; }
  // What the last update repainted.
  const TRegion& UpdatedRegion() const { return FUpdated; }
  int PaintCount() const { return FPaints; }

 private:
  TClock FClock;
  // The virtual clock, fine enough for 60 frames a second.
  std::atomic<uint64_t> FVirtualUs{0};
  std::function<void()> FOnFrame;
  uint32_t FFramePeriodUs = 0;
  uint64_t FNextFrameUs = 0;
  TCustomTransitionView* FView = nullptr;
  TRegion FInvalid, FUpdated;
  int FPaints = 0;
  TStepQueue FSteps;
};

}  // namespace pixvane
