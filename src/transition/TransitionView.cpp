#include "transition/TransitionView.h"

#include <algorithm>

#include "base/MulDiv.h"
#include "graphics/Copy.h"
#include "transition/AnimateThread.h"
#include "transition/FrameRenderer.h"

namespace pixvane {
namespace {

// Sets a flag for the life of a scope, clearing it also when an error leaves.
class TFlagScope {
 public:
  explicit TFlagScope(bool& flag) : FFlag(flag) { FFlag = true; }
  ~TFlagScope() { FFlag = false; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& FFlag;
};

}  // namespace

TCustomTransitionView::TCustomTransitionView(TViewHost& host, TRandom& random)
    : FHost(host), FRandom(random) {}

TCustomTransitionView::~TCustomTransitionView() {
  FState = TState::Destroying;
  for (TAnimateThread* thread : {FThread.get(), FRetiredThread.get()}) {
    if (!thread) continue;
    thread->Terminate();
    WaitForThreadEnd(*thread);
  }
  FThread.reset();
  FRetiredThread.reset();
}

// --- the control --------------------------------------------------------

void TCustomTransitionView::SetClientSize(int32_t width, int32_t height) {
  FClientWidth = std::max(width, 0);
  FClientHeight = std::max(height, 0);
  UpdatePlacement();
  RepaintIfShown();
}

void TCustomTransitionView::RepaintIfShown() {
  if (!FScreen.IsEmpty() && !FPainting && FState != TState::Destroying)
    FHost.Invalidate({0, 0, FClientWidth, FClientHeight});
}

void TCustomTransitionView::ApplyAutoSize() {
  if (!FPicture.IsEmpty() && !AlignClient) SetClientSize(FPicture.Width(), FPicture.Height());
}

void TCustomTransitionView::UpdatePlacement() {
  if (FScreen.IsEmpty()) return;
  FPlacement = {0, 0, FScreen.Width(), FScreen.Height()};
  if (FCenter) {
    // Truncating toward zero, so a picture larger than the control hangs
    // over both edges by the same amount (give or take a pixel).
    int32_t dx = (FClientWidth - FScreen.Width()) / 2;
    int32_t dy = (FClientHeight - FScreen.Height()) / 2;
    FPlacement = {dx, dy, dx + FScreen.Width(), dy + FScreen.Height()};
  }
}

TRect TCustomTransitionView::FitRect(const TRect& placement, const TRect& target) {
  int32_t pw = placement.Width(), ph = placement.Height();
  int32_t tw = target.Width(), th = target.Height();
  if (pw <= 0 || ph <= 0) return target;
  int32_t width, height;
  if (static_cast<double>(th) / ph > static_cast<double>(tw) / pw) {
    width = MulDiv(pw, tw, pw);
    height = MulDiv(ph, tw, pw);
  } else {
    width = MulDiv(pw, th, ph);
    height = MulDiv(ph, th, ph);
  }
  int32_t left = target.Left + (tw - width) / 2;
  int32_t top = target.Top + (th - height) / 2;
  return {left, top, left + width, top + height};
}

TRect TCustomTransitionView::Target() const {
  TRect client{0, 0, FClientWidth, FClientHeight};
  return FStretchFine ? FitRect(FPlacement, client) : client;
}

TRect TCustomTransitionView::DisplayRect() const {
  return FStretch ? Target() : FPlacement;
}

void TCustomTransitionView::InvalidateArea(TRect a) {
  if (FStretch) {
    TRect t = Target();
    int32_t pw = FPlacement.Width(), ph = FPlacement.Height();
    a = {MulDiv(a.Left, t.Width(), pw) + t.Left, MulDiv(a.Top, t.Height(), ph) + t.Top,
         MulDiv(a.Right, t.Width(), pw) + t.Left, MulDiv(a.Bottom, t.Height(), ph) + t.Top};
  } else {
    if (FCenter)
      a = {a.Left + FPlacement.Left, a.Top + FPlacement.Top, a.Right + FPlacement.Left,
           a.Bottom + FPlacement.Top};
    a = {std::max(a.Left, FPlacement.Left), std::max(a.Top, FPlacement.Top),
         std::min(a.Right, FPlacement.Right), std::min(a.Bottom, FPlacement.Bottom)};
  }
  if (FState != TState::Destroying) FHost.Invalidate(a);
}

// --- properties -----------------------------------------------------------

void TCustomTransitionView::SetPicture(const TBitmap* picture) {
  FPicture = picture ? *picture : TBitmap();
  PictureChanged();
}

void TCustomTransitionView::SetPicture(TBitmap&& picture) {
  FPicture = std::move(picture);
  PictureChanged();
}

void TCustomTransitionView::PictureChanged() {
  if (FState == TState::Destroying) return;
  if (FAutoSize) ApplyAutoSize();
  if (OnChange) OnChange(*this);
}

void TCustomTransitionView::SetBgPicture(const TBitmap* picture) {
  FBgPicture = picture ? *picture : TBitmap();
  if (FBgMode != TBackgroundMode::bmNone && !FPainting)
    FHost.Invalidate({0, 0, FClientWidth, FClientHeight});
}

void TCustomTransitionView::SetBgMode(TBackgroundMode mode) {
  if (mode == FBgMode) return;
  FBgMode = mode;
  if (!FBgPicture.IsEmpty() && !FPainting) FHost.Invalidate({0, 0, FClientWidth, FClientHeight});
}

void TCustomTransitionView::SetAutoSize(bool value) {
  FAutoSize = value;
  if (value) ApplyAutoSize();
}

void TCustomTransitionView::SetCenter(bool value) {
  if (value == FCenter) return;
  FCenter = value;
  if (FPicture.IsEmpty()) return;
  UpdatePlacement();
  RepaintIfShown();
}

void TCustomTransitionView::SetStretch(bool value) {
  if (value == FStretch) return;
  FStretch = value;
  RepaintIfShown();
}

void TCustomTransitionView::SetStretchFine(bool value) {
  if (value == FStretchFine) return;
  FStretchFine = value;
  RepaintIfShown();
}

void TCustomTransitionView::SetStep(int value) {
  FStep = static_cast<uint16_t>(std::clamp(value, 1, 100));
}

void TCustomTransitionView::SetManual(bool value) {
  FManual = value;
  const TState state = FState;
  if (state == TState::Idle)
    FProgress = Reverse ? 100 : 0;
  else if (value && (state == TState::Running || state == TState::RunningThreaded))
    FState = TState::Held;  // the running loop or thread ends after its current frame
  else if (!value && state == TState::Held)
    Animate();  // from the current progress on
}

bool TCustomTransitionView::Busy() const {
  const TState state = FState;
  return state != TState::Idle && state != TState::Destroying;
}

void TCustomTransitionView::SetProgress(int value) {
  value = std::clamp(value, 0, 100);
  if (!Busy() || value == FProgress) return;
  // The new picture's share shrinks: what it covered must be shown again.
  if (value < FProgress && !FPainting) InvalidateArea({0, 0, FScreen.Width(), FScreen.Height()});
  FProgress = value;
  RenderFrame();
  if (OnProgress) OnProgress(*this);
}

// --- running a transition ---------------------------------------------------

void TCustomTransitionView::Execute() {
  ReapThread();
  if (Busy() || FPicture.IsEmpty()) return;
  // A transition that is to run counts as running while it is prepared, so
  // that Manual set by the first frame's events holds it.
  FState = FManual ? TState::Held : TState::Running;
  try {
    Prepare();
    if (FState == TState::Running) Animate();
  } catch (...) {
    FreeWorkBitmaps();
    FState = TState::Idle;
    throw;
  }
}

void TCustomTransitionView::Prepare() {
  // The screen keeps what it showed, cut or extended to the new size; new
  // parts take the control's colour. At the same size it stays as it is:
  // a show's slides all have the screen's size.
  if (FScreen.Width() != FPicture.Width() || FScreen.Height() != FPicture.Height()) {
    KeepPainted();  // the snapshot below is taken from what was painted last
    TBitmap resized(FPicture.Width(), FPicture.Height());
    resized.Fill(Color);
    Draw(resized, 0, 0, FScreen);
    FScreen = std::move(resized);
  }
  UpdatePlacement();

  // A snapshot of what the user sees where the new picture will appear,
  // background included: the last painted image, scaled to the picture's size.
  // Parts that change each in a style of their own cut their shares out of
  // it at once and need neither the whole snapshot nor a whole copy of the
  // picture: on two 4K monitors each is 50 MB held through the transition.
  // Shown pixel for pixel, the painted image is that snapshot already.
  const TBitmap& painted = PaintBuffer();
  if (!Areas.empty() && DisplayRect() == FScreen.Bounds() && painted.Width() == FScreen.Width() &&
      painted.Height() == FScreen.Height()) {
    FAreaFrames = std::make_unique<TAreaFrames>(Areas, painted, FPicture);
  } else {
    FOldScreen = std::make_unique<TBitmap>(FScreen.Width(), FScreen.Height());
    StretchCopy(*FOldScreen, FOldScreen->Bounds(), painted, DisplayRect());
    if (!Areas.empty()) FAreaFrames = std::make_unique<TAreaFrames>(Areas, *FOldScreen, FPicture);
  }
  // The copy of the picture the frame events may change: the parts above
  // take theirs when the event asks for it.
  if (!FAreaFrames) FPictureBitmap = std::make_unique<TBitmap>(FPicture);
  SetProgress(Reverse ? 100 : 0);
}

void TCustomTransitionView::Animate() {
  if (Threaded) {
    // An earlier thread may still be on its way out: a finished one, or one
    // held a moment ago that has not yet seen it. It must be gone before its
    // place is taken; destroying it unfinished would join a thread that waits
    // for this one to run its last step.
    for (TAnimateThread* earlier : {FThread.get(), FRetiredThread.get()})
      if (earlier) WaitForThreadEnd(*earlier);
    FThread.reset();
    FRetiredThread.reset();
    FState = TState::RunningThreaded;
    FThread = std::make_unique<TAnimateThread>(*this, FHost, static_cast<int>(ThreadPriority));
  } else {
    FState = TState::Running;
    AnimateOnThisThread();
  }
}

void TCustomTransitionView::AdvanceProgress() {
  int step = FStep;
  SetProgress(Reverse ? (FProgress < step ? 0 : FProgress - step) : FProgress + step);
}

bool TCustomTransitionView::Done() const {
  return Reverse ? FProgress == 0 : FProgress == 100;
}

void TCustomTransitionView::AnimateOnThisThread() {
  bool done;
  do {
    uint32_t t0 = FHost.TickCount();
    AdvanceProgress();
    done = Done();
    if (done) break;
    // The caller's timers and input are served while the frame's time runs
    // out; the host sleeps until a message comes or the time is up.
    for (uint32_t elapsed = FHost.TickCount() - t0; elapsed <= Delay && FState == TState::Running;
         elapsed = FHost.TickCount() - t0)
      FHost.ProcessMessages(Delay + 1 - elapsed);
  } while (FState == TState::Running);
  if (done) Finish();
}

void TCustomTransitionView::ThreadEnded(TAnimateThread* thread) {
  // A thread that Stop already finished from inside one of its steps ends
  // later; by then the transition is no longer its own.
  if (thread == FThread.get()) Finish();
}

void TCustomTransitionView::Finish() {
  if (FThread) FRetiredThread = std::move(FThread);
  const TState state = FState;
  // Held, the caller steps on; idle, a Stop came first.
  if (state == TState::Held || state == TState::Idle) return;
  FreeWorkBitmaps();
  if (state == TState::Destroying) return;
  FState = TState::Idle;
  if (state != TState::Stopping && OnComplete) OnComplete(*this);
}

void TCustomTransitionView::FreeWorkBitmaps() {
  FOldScreen.reset();
  FPictureBitmap.reset();
  FAreaFrames.reset();
}

void TCustomTransitionView::Stop() {
  const TState before = FState;
  if (!Busy() || before == TState::Stopping) return;
  FState = TState::Stopping;
  try {
    if (TAnimateThread* thread = FThread.get()) {
      thread->Terminate();
      // Called from inside one of the thread's own steps, waiting would wait
      // for ourselves; finish here, and the thread's own finish finds nothing to do.
      if (thread->InStep())
        Finish();
      else
        WaitForThreadEnd(*thread);  // its finish step ends the transition
    } else {
      Finish();
    }
  } catch (...) {
    // An error before the transition ended leaves it as it was.
    if (FState == TState::Stopping) FState = before;
    throw;
  }
  ReapThread();
}

void TCustomTransitionView::WaitForThreadEnd(TAnimateThread& thread) {
  // The thread's last act is a step on this thread; keep serving them.
  while (!thread.Ended()) FHost.ProcessMessages(5);
}

void TCustomTransitionView::ReapThread() {
  if (FRetiredThread && FRetiredThread->Ended()) FRetiredThread.reset();
}

void TCustomTransitionView::Clear() {
  if (Busy() || FScreen.IsEmpty()) return;
  KeepPainted();
  FScreen = TBitmap();
  FHost.Invalidate({0, 0, FClientWidth, FClientHeight});
}

// --- frames -----------------------------------------------------------------

void TCustomTransitionView::RedrawScreen(const std::function<void(TBitmap& screen)>& draw) {
  if (Busy() || FScreen.IsEmpty() || FState == TState::Destroying) return;
  draw(FScreen);
  InvalidateArea(FScreen.Bounds());
  if (!FPainting) FHost.Update();
}

void TCustomTransitionView::RenderFrame() {
  TFrameHooks hooks;
  if (OnBeforeNewFrame)
    hooks.BeforeStyle = [this] { OnBeforeNewFrame(*this, *FPictureBitmap, FScreen); };
  if (OnCustomDraw) hooks.CustomDraw = [this] { OnCustomDraw(*this, *FPictureBitmap, FScreen); };
  const TFrameResult frame =
      FAreaFrames
          ? FAreaFrames->Draw(FScreen, FProgress, FStep, FRandom)
          : DrawFrame(FScreen, {*FOldScreen, *FPictureBitmap, Style, FProgress, FStep, FRandom},
                      hooks);
  if (!frame.Styled) return;
  // Shown whole at once, the custom style ends the transition after this
  // frame, in either direction.
  if (frame.ShowedWhole) FProgress = Reverse ? 0 : 100;
  for (const TRect& area : frame.Changed) InvalidateArea(area);
  if (OnAfterNewFrame) {
    if (!FPictureBitmap) FPictureBitmap = std::make_unique<TBitmap>(FPicture);
    OnAfterNewFrame(*this, *FPictureBitmap, FScreen);
  }
  if (!FPainting) FHost.Update();
}

// --- painting ---------------------------------------------------------------

void TCustomTransitionView::KeepPainted() {
  if (!FPaintedScreen) return;
  FPaintBuffer = FScreen;
  FPaintedScreen = false;
}

bool TCustomTransitionView::Paint() {
  if (FPainting) return false;
  TFlagScope painting(FPainting);
  TRect shown = DisplayRect();
  FPaintedScreen = FScreen.Width() == FClientWidth && FScreen.Height() == FClientHeight &&
                   shown.Left == 0 && shown.Top == 0 && shown.Right == FClientWidth &&
                   shown.Bottom == FClientHeight;
  if (FPaintedScreen) return true;
  FPaintBuffer.SetSize(FClientWidth, FClientHeight);
  // A screen bitmap that covers the whole client area hides colour and
  // background alike; filling them first would double the cost of a paint.
  bool covered = !FScreen.IsEmpty() && shown.Left <= 0 && shown.Top <= 0 &&
                 shown.Right >= FClientWidth && shown.Bottom >= FClientHeight;
  if (!covered) {
    FPaintBuffer.Fill(Color);
    DrawBackground();
  }
  if (!FScreen.IsEmpty()) {
    if (!FStretch)
      Draw(FPaintBuffer, FPlacement.Left, FPlacement.Top, FScreen);
    else
      StretchCopy(FPaintBuffer, Target(), FScreen, FScreen.Bounds());
  }
  return true;
}

void TCustomTransitionView::DrawBackground() {
  if (FBgPicture.IsEmpty() || FBgMode == TBackgroundMode::bmNone) return;
  const int32_t bw = FBgPicture.Width(), bh = FBgPicture.Height();
  switch (FBgMode) {
    case TBackgroundMode::bmTiled:
      for (int32_t i = 0; i <= FClientHeight / bh; ++i)
        for (int32_t j = 0; j <= FClientWidth / bw; ++j)
          Draw(FPaintBuffer, j * bw, i * bh, FBgPicture);
      break;
    case TBackgroundMode::bmStretched:
      StretchCopy(FPaintBuffer, {0, 0, FClientWidth, FClientHeight}, FBgPicture,
                  FBgPicture.Bounds());
      break;
    case TBackgroundMode::bmCentered:
      Draw(FPaintBuffer, (FClientWidth - bw) / 2, (FClientHeight - bh) / 2, FBgPicture);
      break;
    case TBackgroundMode::bmNone:
      break;
  }
}

}  // namespace pixvane
