#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "base/Random.h"
#include "graphics/Bitmap.h"
#include "graphics/Geometry.h"
#include "transition/AreaFrames.h"
#include "transition/ViewHost.h"

namespace pixvane {

enum class TBackgroundMode : uint8_t { bmNone, bmTiled, bmStretched, bmCentered };
enum class TThreadPriority : uint8_t {
  tpIdle,
  tpLowest,
  tpLower,
  tpNormal,
  tpHigher,
  tpHighest,
  tpTimeCritical
};

class TAnimateThread;

// The picture show: a windowless control that shows one picture and changes
// to the next by an animated transition, frame by frame, in one of the
// built-in styles or a custom one. The host gives it its window, message
// loop and clock.
//
// Threads: the view belongs to the user-interface thread, its host's: every
// call, all drawing and rendering and every event happen there. A threaded
// transition's timing thread (TAnimateThread) only reads the state and
// hands each step (the next frame, the finish) to that thread through the
// host's Synchronize. The random styles draw from the generator the view is
// given, which belongs to the show or render it runs in, on that thread.
class TCustomTransitionView {
 public:
  using TNotifyEvent = std::function<void(TCustomTransitionView& sender)>;
  using TCustomDrawEvent =
      std::function<void(TCustomTransitionView& sender, TBitmap& picture, TBitmap& screen)>;

  // Both outlive the view.
  TCustomTransitionView(TViewHost& host, TRandom& random);
  virtual ~TCustomTransitionView();
  TCustomTransitionView(const TCustomTransitionView&) = delete;
  TCustomTransitionView& operator=(const TCustomTransitionView&) = delete;

  // The control itself: its client size (set by the host's size message or
  // by the automatic size), whether it fills its parent, its colour.
  int32_t ClientWidth() const { return FClientWidth; }
  int32_t ClientHeight() const { return FClientHeight; }
  void SetClientSize(int32_t width, int32_t height);
  bool AlignClient = false;
  TColor Color = 0xFFFFFF;

  // The new picture; an empty bitmap means none. Setting copies it.
  const TBitmap& Picture() const { return FPicture; }
  void SetPicture(const TBitmap* picture);
  // Takes the picture over without copying it.
  void SetPicture(TBitmap&& picture);
  const TBitmap& BgPicture() const { return FBgPicture; }
  void SetBgPicture(const TBitmap* picture);
  TBackgroundMode BgMode() const { return FBgMode; }
  void SetBgMode(TBackgroundMode mode);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  bool Center() const { return FCenter; }
  void SetCenter(bool value);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool value);
  bool StretchFine() const { return FStretchFine; }
  void SetStretchFine(bool value);
  bool Threaded = true;
  TThreadPriority ThreadPriority = TThreadPriority::tpNormal;
  bool Manual() const { return FManual; }
  void SetManual(bool value);
  uint8_t Style = 51;
  // Parts of the picture that change each in a style of their own, all at
  // once; empty, the whole picture changes in Style. Read by Execute.
  std::vector<TTransitionArea> Areas;
  uint16_t Step() const { return FStep; }
  void SetStep(int value);
  uint16_t Delay = 40;
  bool Reverse = false;

  int Progress() const { return FProgress; }
  void SetProgress(int value);
  // A transition is prepared and not yet finished.
  bool Busy() const;

  void Execute();
  void Stop();
  void Clear();
  // Repaints what is invalidated, now.
  void Update() { FHost.Update(); }
  // A new frame of the picture shown, between transitions (a picture that
  // moves): draw changes the screen bitmap in place, and the view shows it
  // at once. Nothing happens while a transition runs or nothing is shown.
  void RedrawScreen(const std::function<void(TBitmap& screen)>& draw);

  TNotifyEvent OnChange, OnProgress, OnComplete;
  TCustomDrawEvent OnCustomDraw, OnBeforeNewFrame, OnAfterNewFrame;

  // The host's paint message: draws the whole client area into the paint
  // buffer, which the host then shows. False (and nothing drawn) when a
  // paint is already in progress. A screen bitmap that is the client area
  // pixel for pixel is the paint buffer itself: a moving picture's frames
  // are not copied once more.
  bool Paint();
  const TBitmap& PaintBuffer() const { return FPaintedScreen ? FScreen : FPaintBuffer; }
  // A paint gives Color alone: nothing shown yet and no background, so a
  // host may fill the area itself instead of copying every pixel.
  bool PaintsColorOnly() const {
    return FScreen.IsEmpty() && (FBgPicture.IsEmpty() || FBgMode == TBackgroundMode::bmNone);
  }

  const TBitmap& ScreenBitmap() const { return FScreen; }
  const TRect& PlacementRect() const { return FPlacement; }
  // Where the screen bitmap is shown in the client area.
  TRect DisplayRect() const;
  // placement scaled to fit target with its aspect ratio kept, centred.
  static TRect FitRect(const TRect& placement, const TRect& target);
  // Marks rectangle a of the screen bitmap for repainting, mapped to the client area.
  void InvalidateArea(TRect a);

 protected:
  virtual void PictureChanged();

 private:
  friend class TAnimateThread;

  // Where the view is in a transition's life. Only the user-interface
  // thread changes it; the timing thread reads it to know whether to go on.
  enum class TState : uint8_t {
    Idle,             // no transition; Execute starts one
    Held,             // prepared, waiting for the caller to move Progress (Manual)
    Running,          // to run, its frames driven by the loop on this thread
    RunningThreaded,  // running, its frames paced by the timing thread
    Stopping,         // Stop is ending it
    Destroying,       // the view is going: no events, no repaints
  };

  void ApplyAutoSize();
  void UpdatePlacement();
  void RepaintIfShown();
  void Prepare();
  // The screen bitmap is about to change other than by a frame: the paint
  // buffer takes over what it showed.
  void KeepPainted();
  void Animate();
  void AnimateOnThisThread();
  void AdvanceProgress();
  bool Done() const;
  void Finish();
  void ThreadEnded(TAnimateThread* thread);
  void FreeWorkBitmaps();
  void WaitForThreadEnd(TAnimateThread& thread);
  void ReapThread();
  void RenderFrame();
  void DrawBackground();
  TRect Target() const;

  TViewHost& FHost;
  TRandom& FRandom;  // drawn from on the user-interface thread, in RenderFrame
  int32_t FClientWidth = 100, FClientHeight = 100;
  TBitmap FPicture, FBgPicture;
  TBackgroundMode FBgMode = TBackgroundMode::bmTiled;
  bool FAutoSize = true, FCenter = false, FStretch = false, FStretchFine = false;
  bool FManual = false;
  uint16_t FStep = 4;
  int FProgress = 0;
  std::atomic<TState> FState{TState::Idle};  // read by the timing thread
  TBitmap FScreen;
  TRect FPlacement;
  std::unique_ptr<TAnimateThread> FThread;
  // A thread whose finish routine ran; joined once it has returned.
  std::unique_ptr<TAnimateThread> FRetiredThread;
  bool FPainting = false;  // Paint runs: it is not entered again, and nothing invalidates
  TBitmap FPaintBuffer;
  bool FPaintedScreen = false;  // the last paint showed FScreen as it is
  std::unique_ptr<TBitmap> FOldScreen, FPictureBitmap;
  std::unique_ptr<TAreaFrames> FAreaFrames;  // with Areas only
};

// The name the saver window knows the view by.
using TTransitionView = TCustomTransitionView;

}  // namespace pixvane
