#include "host/linux/SdlViewHost.h"

#include <algorithm>
#include <climits>
#include <string_view>

#include "base/Errors.h"
#include "host/linux/SurfaceCopy.h"

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
  // On X, SDL would keep the window's surface in a texture of its GL
  // renderer, which without a GPU (Xvfb, a remote display) is Mesa's
  // software rasteriser: the whole window converted, uploaded and drawn for
  // every change. Written straight into the window, a frame costs the
  // conversion of what changed and the display's copy of it. Any X window
  // takes it, XScreenSaver's too, where a GL context may not be had. Other
  // drivers (Wayland) have only the texture.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && std::string_view(driver) == "x11")
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_Surface& surface = WindowSurface();
  SDL_FillRect(&surface, nullptr, SDL_MapRGB(surface.format, 0, 0, 0));
  SDL_UpdateWindowSurface(FWindow);
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
  SDL_Surface& surface = WindowSurface();
  if (&surface != FShownSurface || surface.w != FShownWidth || surface.h != FShownHeight) {
    // A new surface holds nothing yet: all of it is sent, black where the
    // frame does not reach (the view learns of a new size a moment later).
    SDL_FillRect(&surface, nullptr, SDL_MapRGB(surface.format, 0, 0, 0));
    CopyToSurface(buffer, buffer.Bounds(), surface);
    FShownSurface = &surface;
    FShownWidth = surface.w;
    FShownHeight = surface.h;
    SDL_UpdateWindowSurface(FWindow);
    return;
  }
  const TRect copied = CopyToSurface(buffer, changed, surface);
  if (copied.IsEmpty()) return;
  const SDL_Rect rect{copied.Left, copied.Top, copied.Width(), copied.Height()};
  SDL_UpdateWindowSurfaceRects(FWindow, &rect, 1);
}

SDL_Surface& TSdlViewHost::WindowSurface() const {
  SDL_Surface* surface = SDL_GetWindowSurface(FWindow);
  if (!surface) throw EError(std::string("cannot draw into the window: ") + SDL_GetError());
  return *surface;
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
