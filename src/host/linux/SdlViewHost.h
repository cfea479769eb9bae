#pragma once
#include <SDL.h>

#include <functional>

#include "graphics/Geometry.h"
#include "transition/StepQueue.h"
#include "transition/TransitionView.h"
#include "transition/ViewHost.h"

namespace pixvane {

// Hosts the transition view in an SDL window: a paint goes through the
// view's Paint into its buffer, and only the changed part of the buffer is
// converted into the window's own surface and sent to the display (shared
// memory on a local X server). Its message loop is SDL's event queue; every
// event that is not its own goes to OnEvent.
class TSdlViewHost : public TViewHost {
 public:
  explicit TSdlViewHost(SDL_Window* window);
  TSdlViewHost(const TSdlViewHost&) = delete;
  TSdlViewHost& operator=(const TSdlViewHost&) = delete;

  void Attach(TCustomTransitionView* view) override { FView = view; }
  void Invalidate(const TRect& area) override;
  void Update() override;
  // Serves the queued steps and events; with none, sleeps in SDL's wait for
  // at most maxWaitMs (UINT32_MAX: until an event comes).
  void ProcessMessages(uint32_t maxWaitMs = 0) override;
  uint32_t TickCount() override { return SDL_GetTicks(); }
  void Synchronize(const std::function<void()>& step) override { FSteps.Synchronize(step); }
  // The pulse is a due time ProcessMessages waits for, to the millisecond.
  void StartFrames(uint32_t periodUs, std::function<void()> onFrame) override;
  void StopFrames() override { FOnFrame = nullptr; }

  // Paints the whole view again (the window was exposed or resized).
  void Repaint();
  // Ends the view's transition where it is (the show is ending).
  void StopView() {
    if (FView) FView->Stop();
  }
  std::function<void(const SDL_Event& event)> OnEvent;

 private:
  void Present(const TRect& changed);
  void Dispatch(const SDL_Event& event);
  uint32_t WaitForFrame(uint32_t maxWaitMs) const;
  void RunDueFrame();

  SDL_Surface& WindowSurface() const;

  SDL_Window* FWindow;
  // The surface the last frame went into; another one (the window was
  // resized) holds nothing of ours yet.
  const SDL_Surface* FShownSurface = nullptr;
  int FShownWidth = 0, FShownHeight = 0;
  TCustomTransitionView* FView = nullptr;
  TRect FInvalid;  // the bounds of what is invalid; empty: nothing
  uint32_t FWakeEvent;
  TStepQueue FSteps;
  std::function<void()> FOnFrame;  // none: no pulse
  uint64_t FFramePeriod = 0;       // in performance-counter ticks
  uint64_t FFrameDue = 0;
};

}  // namespace pixvane
