#include "host/ExitRules.h"

#include <cstdlib>

namespace pixvane {

bool TExitRules::MouseMove(int32_t x, int32_t y) {
  if (!FSettings.lExitMouseMove) return false;
  if (FMouseSkipCount > 0) {
    --FMouseSkipCount;
    return false;
  }
  if (FLastX == -1 && FLastY == -1) {
    FLastX = x;
    FLastY = y;
    return false;
  }
  // Both directions at once: a long straight slide of the mouse (a desk
  // bumped along one edge) is not taken as the user coming back. Small moves
  // add up against the reference.
  if (std::abs(x - FLastX) >= 3 && std::abs(y - FLastY) >= 3) {
    FLastX = x;
    FLastY = y;
    return RequestExit();
  }
  return false;
}

bool TExitRules::RequestExit() {
  FMouseSkipCount = 5;
  if (!FPlatform.OpenDesktopKey()) return true;
  FPlatform.ShowCursor(true);
  bool end = true;
  std::optional<int32_t> usePassword = FPlatform.ReadUsePassword();
  if (usePassword && *usePassword != 0) {
    std::optional<bool> verified = FPlatform.VerifyPassword();
    end = !verified || *verified;
  }
  FPlatform.ShowCursor(false);
  FPlatform.CloseDesktopKey();
  return end;
}

bool HookEventCloses(const TSSFileLocations& settings, uint32_t message, int32_t cursorX,
                     int32_t cursorY, int32_t startX, int32_t startY) {
  switch (message) {
    case HookKeyDown:
      return settings.lExitKeyPress;
    case HookMouseMove:
      return settings.lExitMouseMove && (cursorX != startX || cursorY != startY);
    case HookLeftDown:
    case HookRightDown:
    case HookMiddleDown:
      return settings.lExitMouseClick;
    default:
      return false;
  }
}

}  // namespace pixvane
