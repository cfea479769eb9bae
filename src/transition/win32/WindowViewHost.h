#pragma once
#include <windows.h>

#include <functional>
#include <memory>

#include "base/win32/Handles.h"
#include "transition/StepQueue.h"
#include "transition/TransitionView.h"
#include "transition/ViewHost.h"
#include "transition/win32/FrameClock.h"

namespace pixvane {

// Hosts a transition view in a rectangle of a real window. The window's own
// procedure hands its WM_PAINT to Paint; frames invalidate that window;
// steps from the timing thread reach the user-interface thread through a
// hidden message-only window, so they run under any message loop.
class TWindowViewHost : public TViewHost {
 public:
  TWindowViewHost(HWND window, const TRect& bounds);

  void Attach(TCustomTransitionView* view) override { FView = view; }
  // Where the view lies in the window's client area.
  void SetBounds(const TRect& bounds);
  // Paints the view into dc (the window's paint DC) at its bounds.
  void Paint(HDC dc);

  void Invalidate(const TRect& area) override;
  void Update() override;
  void ProcessMessages(uint32_t maxWaitMs = 0) override;
  // The performance counter's milliseconds: GetTickCount moves in 15.6 ms
  // steps, too coarse to pace a frame.
  uint32_t TickCount() override { return static_cast<uint32_t>(MicrosecondsNow() / 1000); }
  void Synchronize(const std::function<void()>& step) override { FSteps.Synchronize(step); }
  void ApplyThreadPriority(int priority) override;
  void StartFrames(uint32_t periodUs, std::function<void()> onFrame) override;
  void StopFrames() override;

 private:
  static LRESULT CALLBACK SyncWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND CreateSyncWindow();
  HWND FWindow;
  TRect FBounds;
  TCustomTransitionView* FView = nullptr;
  TStepQueue FSteps;
  TWindowHandle FSyncWindow;  // made after the steps, which post to it, and gone before them
  TFineTimer FWaitTimer;      // the waits between a transition's frames
  std::function<void()> FOnFrame;
  std::unique_ptr<TFrameClock> FFrameClock;  // posts to the sync window: gone before it
};

}  // namespace pixvane
