#include "transition/win32/WindowViewHost.h"

#include "base/win32/MessagePump.h"
#include "base/win32/WindowClass.h"
#include "graphics/win32/Dib.h"

namespace pixvane {
namespace {

constexpr UINT WM_RUNSTEPS = WM_APP + 1;
constexpr UINT WM_FRAME = WM_APP + 2;
constexpr char SyncClassName[] = "PixvaneViewSync";

}  // namespace

TWindowViewHost::TWindowViewHost(HWND window, const TRect& bounds)
    : FWindow(window),
      FBounds(bounds),
      FSteps([this] { PostMessageA(FSyncWindow.Get(), WM_RUNSTEPS, 0, 0); }),
      FSyncWindow(CreateSyncWindow()) {}

HWND TWindowViewHost::CreateSyncWindow() {
  RegisterWindowClass(SyncClassName, SyncWindowProc);
  return CreateWindowExA(0, SyncClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         GetModuleHandleA(nullptr), this);
}

void TWindowViewHost::SetBounds(const TRect& bounds) {
  FBounds = bounds;
}

void TWindowViewHost::Paint(HDC dc) {
  if (!FView || !FView->Paint()) return;
  const TBitmap& buffer = FView->PaintBuffer();
  if (FView->PaintsColorOnly()) {
    // Before the first picture (the saver's screen going dark) one fill
    // does it: no screenful of pixels converted on the way to the display.
    const RECT area{FBounds.Left, FBounds.Top, FBounds.Left + buffer.Width(),
                    FBounds.Top + buffer.Height()};
    TGdiBrush brush(CreateSolidBrush(FView->Color));  // TColor is 00BBGGRR like COLORREF
    FillRect(dc, &area, brush.Get());
    return;
  }
  // The buffer's rows are a top-down 24-bit DIB as they stand.
  DrawBitmap(dc, FBounds.Left, FBounds.Top, buffer);
}

void TWindowViewHost::Invalidate(const TRect& area) {
  RECT rect{area.Left + FBounds.Left, area.Top + FBounds.Top, area.Right + FBounds.Left,
            area.Bottom + FBounds.Top};
  InvalidateRect(FWindow, &rect, FALSE);
}

void TWindowViewHost::Update() {
  UpdateWindow(FWindow);
}

void TWindowViewHost::ProcessMessages(uint32_t maxWaitMs) {
  // A WM_QUIT goes back for the loop that owns the thread.
  TPumped pumped = pixvane::ProcessMessages(TQuitMessage::Repost);
  if (pumped == TPumped::Quit) return;
  bool any = pumped == TPumped::Messages;
  any |= FSteps.RunQueued();
  if (any || maxWaitMs == 0) return;
  // Nothing pending: sleep until input, a message or a step arrives, or the
  // time is up, on the fine timer (a plain timeout ends on the system's
  // 15.6 ms tick, which would stretch a transition's frames).
  const HANDLE timer = FWaitTimer.Handle();
  if (timer) {
    FWaitTimer.Set(int64_t{maxWaitMs} * 1000);
    MsgWaitForMultipleObjects(1, &timer, FALSE, maxWaitMs + 100, QS_ALLINPUT);
  } else {
    WaitForMessage(maxWaitMs);  // no timer at all: the system's tick will do
  }
  if (pixvane::ProcessMessages(TQuitMessage::Repost) == TPumped::Quit) return;
  FSteps.RunQueued();
}

void TWindowViewHost::StartFrames(uint32_t periodUs, std::function<void()> onFrame) {
  FFrameClock.reset();
  FOnFrame = std::move(onFrame);
  FFrameClock = std::make_unique<TFrameClock>(FSyncWindow.Get(), WM_FRAME, periodUs);
}

void TWindowViewHost::StopFrames() {
  FFrameClock.reset();
  FOnFrame = nullptr;
}

void TWindowViewHost::ApplyThreadPriority(int priority) {
  static constexpr int Levels[] = {THREAD_PRIORITY_IDLE,         THREAD_PRIORITY_LOWEST,
                                   THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL,
                                   THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST,
                                   THREAD_PRIORITY_TIME_CRITICAL};
  if (priority >= 0 && priority < 7) SetThreadPriority(GetCurrentThread(), Levels[priority]);
}

LRESULT CALLBACK TWindowViewHost::SyncWindowProc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
  auto* host = WindowObject<TWindowViewHost>(window, message, lParam);
  if (message == WM_RUNSTEPS) {
    if (host) host->FSteps.RunQueued();
    return 0;
  }
  if (message == WM_FRAME) {
    // A beat posted just before the pulse stopped finds no clock.
    if (host && host->FFrameClock) {
      host->FFrameClock->Served();
      // The frame may stop the pulse, which must not free what runs.
      std::function<void()> onFrame = host->FOnFrame;
      onFrame();
    }
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace pixvane
