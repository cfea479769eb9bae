#include "host/win32/WindowShowPlatform.h"

#include "base/Stream.h"
#include "base/win32/ScreenDpi.h"
#include "host/win32/Monitors.h"
#include "package/SignedSaver.h"

namespace pixvane {

TWindowShowPlatform::TWindowShowPlatform(HWND window, UINT tickMessage, std::string packagePath,
                                         const TRect& bounds)
    : FWindow(window),
      FTickMessage(tickMessage),
      FPackagePath(std::move(packagePath)),
      FViewHost(window, bounds),
      FMusic(window),
      FCaptionPainter(ScreenPixelsPerInch()) {}

void TWindowShowPlatform::ArmShowTimer(uint32_t ms) {
  FShowTimer.emplace(FWindow, FTickMessage, int64_t{ms} * 1000);  // the old clock stops first
}

std::unique_ptr<TStream> TWindowShowPlatform::OpenPackage() {
  return OpenSaver(FPackagePath);
}

// Every monitor: the whole virtual screen, in its own coordinates.
TShowScreen TWindowShowPlatform::Screen() {
  const TRect screen = VirtualScreen();
  return {screen.Width(), screen.Height(), ScreenMonitors({screen.Left, screen.Top})};
}

void TWindowShowPlatform::HideFlash() {
  if (FlashCalls.Hide) FlashCalls.Hide();
}

void TWindowShowPlatform::StartFlashShow() {
  if (FlashCalls.Start) FlashCalls.Start();
}

void TWindowShowPlatform::HideView() {
  FViewVisible = false;
  InvalidateRect(FWindow, nullptr, FALSE);
}

void TWindowShowPlatform::Paint(HDC dc, const RECT& area) {
  if (FViewVisible)
    FViewHost.Paint(dc);
  else
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

}  // namespace pixvane
