#include "host/linux/SdlViewHost.h"

#include <algorithm>
#include <climits>

#include "base/Errors.h"

namespace pixvane {
namespace {

TRect Bounds(const TRect& a, const TRect& b) {
  if (a.IsEmpty()) return b;
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
          std::max(a.Bottom, b.Bottom)};
}

}  // namespace

TSdlViewHost::TSdlViewHost(SDL_Window* window)
    : FWindow(window), FWakeEvent(SDL_RegisterEvents(1)), FSteps([this] {
        SDL_Event wake{};
        wake.type = FWakeEvent;
        SDL_PushEvent(&wake);
      }) {
  // A window of another program (XScreenSaver's) may not take a GL context;
  // the software renderer draws into any window.
  FRenderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  if (!FRenderer) FRenderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (!FRenderer) throw EError(std::string("cannot draw into the window: ") + SDL_GetError());
  SDL_SetRenderDrawColor(FRenderer, 0, 0, 0, 255);
  SDL_RenderClear(FRenderer);
  SDL_RenderPresent(FRenderer);
}

TSdlViewHost::~TSdlViewHost() {
  if (FTexture) SDL_DestroyTexture(FTexture);
  SDL_DestroyRenderer(FRenderer);
}

void TSdlViewHost::Invalidate(const TRect& area) {
  TRect normal = area.Normalized();
  if (!normal.IsEmpty()) FInvalid = Bounds(FInvalid, normal);
}

void TSdlViewHost::Update() {
  if (FInvalid.IsEmpty() || !FView) return;
  TRect changed = FInvalid;
  FInvalid = {};
  if (FView->Paint()) Present(changed);
}

void TSdlViewHost::Repaint() {
  if (FView && FView->Paint())
    Present({0, 0, FView->PaintBuffer().Width(), FView->PaintBuffer().Height()});
}

void TSdlViewHost::Present(const TRect& changed) {
  const TBitmap& buffer = FView->PaintBuffer();
  if (buffer.IsEmpty()) return;
  TRect area = changed.Intersect(buffer.Bounds());
  if (!FTexture || FTextureWidth != buffer.Width() || FTextureHeight != buffer.Height()) {
    if (FTexture) SDL_DestroyTexture(FTexture);
    // The buffer's rows are blue, green, red bytes: the texture takes them
    // as they are, with no conversion of ours per frame.
    FTexture = SDL_CreateTexture(FRenderer, SDL_PIXELFORMAT_BGR24, SDL_TEXTUREACCESS_STREAMING,
                                 buffer.Width(), buffer.Height());
    if (!FTexture) throw EError(std::string("cannot make the frame texture: ") + SDL_GetError());
    FTextureWidth = buffer.Width();
    FTextureHeight = buffer.Height();
    area = buffer.Bounds();
  }
  if (!area.IsEmpty()) {
    SDL_Rect rect{area.Left, area.Top, area.Width(), area.Height()};
    const uint8_t* first = buffer.ScanLine(area.Top) + static_cast<size_t>(area.Left) * 3;
    SDL_UpdateTexture(FTexture, &rect, first, static_cast<int>(buffer.Stride()));
  }
  SDL_RenderClear(FRenderer);
  SDL_RenderCopy(FRenderer, FTexture, nullptr, nullptr);
  SDL_RenderPresent(FRenderer);
}

void TSdlViewHost::ProcessMessages(uint32_t maxWaitMs) {
  FSteps.RunQueued();
  SDL_Event event;
  // SDL sleeps on the display connection here, so a still picture costs
  // no processor time; a step or a notification from another thread wakes
  // it with an event of its own.
  const uint32_t waitMs = WaitForFrame(maxWaitMs);
  const int timeout = waitMs >= INT_MAX ? -1 : static_cast<int>(waitMs);
  bool got = waitMs == 0 ? SDL_PollEvent(&event) : SDL_WaitEventTimeout(&event, timeout);
  while (got) {
    Dispatch(event);
    got = SDL_PollEvent(&event);
  }
  FSteps.RunQueued();
  RunDueFrame();
}

void TSdlViewHost::StartFrames(uint32_t periodUs, std::function<void()> onFrame) {
  FOnFrame = std::move(onFrame);
  FFramePeriod = std::max<uint64_t>(1, SDL_GetPerformanceFrequency() * periodUs / 1000000);
  FFrameDue = SDL_GetPerformanceCounter() + FFramePeriod;
}

// The wait asked for, cut short where the next frame is due.
uint32_t TSdlViewHost::WaitForFrame(uint32_t maxWaitMs) const {
  if (!FOnFrame) return maxWaitMs;
  const uint64_t now = SDL_GetPerformanceCounter();
  if (now >= FFrameDue) return 0;
  // Rounded up: waking a little late beats spinning through the last millisecond.
  const uint64_t frequency = SDL_GetPerformanceFrequency();
  const uint64_t leftMs = ((FFrameDue - now) * 1000 + frequency - 1) / frequency;
  return static_cast<uint32_t>(std::min<uint64_t>(leftMs, maxWaitMs));
}

void TSdlViewHost::RunDueFrame() {
  if (!FOnFrame) return;
  const uint64_t now = SDL_GetPerformanceCounter();
  if (now < FFrameDue) return;
  // Behind by more than a beat: the missed ones are skipped, not queued.
  FFrameDue = now - FFrameDue >= FFramePeriod ? now + FFramePeriod : FFrameDue + FFramePeriod;
  // The frame may start the pulse anew, at another period, or stop it.
  const std::function<void()> frame = FOnFrame;
  frame();
}

void TSdlViewHost::Dispatch(const SDL_Event& event) {
  if (event.type == FWakeEvent) return;  // the steps run after the events
  if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) Repaint();
  if (OnEvent) OnEvent(event);
}

}  // namespace pixvane
