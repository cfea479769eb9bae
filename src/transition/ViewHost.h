#pragma once
#include <cstdint>
#include <functional>

#include "graphics/Geometry.h"

namespace pixvane {

class TCustomTransitionView;

// What the transition view needs of the platform: the window it lives in,
// the message loop of the user-interface thread and a clock. The Windows
// implementation paints into a real window; the headless one paints into
// memory on a clock the caller controls.
//
// Threads: a host belongs to the user-interface thread, the one its view
// lives on, and is called from there, except for what a threaded
// transition's timing thread calls: TickCount, Synchronize and
// ApplyThreadPriority (for itself). An implementation keeps those three
// safe beside everything else.
class TViewHost {
 public:
  virtual ~TViewHost() = default;

  // The view whose frames this host paints; nullptr: none any more.
  virtual void Attach(TCustomTransitionView* view) = 0;

  // Marks a rectangle of the view's client area for repainting (never
  // erasing the background first).
  virtual void Invalidate(const TRect& area) = 0;
  // Repaints the invalidated part now, through the view's Paint.
  virtual void Update() = 0;
  // Serves the pending messages of the user-interface thread, steps handed
  // over by Synchronize included. When none are pending, waits at most
  // maxWaitMs for one, so a loop that waits for time to pass does not spin.
  virtual void ProcessMessages(uint32_t maxWaitMs = 0) = 0;
  // Milliseconds since an arbitrary start, wrapping at 2^32; from either thread.
  virtual uint32_t TickCount() = 0;
  // Called from the timing thread: runs step on the user-interface thread
  // and returns when it has run.
  virtual void Synchronize(const std::function<void()>& step) = 0;
  // Called on the timing thread when it starts, with the view's priority.
  virtual void ApplyThreadPriority(int priority) {}
  // A steady pulse for pictures that move between transitions: onFrame runs
  // on the user-interface thread about every periodUs microseconds, paced
  // by the finest clock the platform has, until StopFrames or the next
  // StartFrames. A pulse that falls behind skips beats rather than queue
  // them. A host without such a clock never calls it: pictures stay still.
  virtual void StartFrames(uint32_t periodUs, std::function<void()> onFrame) {}
  virtual void StopFrames() {}
};

}  // namespace pixvane
