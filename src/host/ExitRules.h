#pragma once
#include <cstdint>
#include <optional>

#include "package/SSFileLocations.h"

namespace pixvane {

// The platform's side of ending a saver: the user's password setting and
// the password dialog, and the cursor shown around that dialog.
class TExitPlatform {
 public:
  virtual ~TExitPlatform() = default;
  // Opens Control Panel\Desktop of the current user without creating it.
  virtual bool OpenDesktopKey() = 0;
  virtual void CloseDesktopKey() = 0;
  // "ScreenSaveUsePassword"; nothing when absent or not an integer.
  virtual std::optional<int32_t> ReadUsePassword() = 0;
  // Asks the platform's password check; nothing when its library or
  // function is missing, else whether the password was given.
  virtual std::optional<bool> VerifyPassword() = 0;
  virtual void ShowCursor(bool show) = 0;
};

// The package's exit rules: each handler returns true when the saver must end.
class TExitRules {
 public:
  TExitRules(const TSSFileLocations& settings, TExitPlatform& platform)
      : FSettings(settings), FPlatform(platform) {}

  // A mouse move at (x, y): the first sets the reference; one that is 3
  // pixels or more away from it in both directions at once asks to end.
  bool MouseMove(int32_t x, int32_t y);
  bool MouseDown() { return FSettings.lExitMouseClick && RequestExit(); }
  bool KeyDown() { return FSettings.lExitKeyPress && RequestExit(); }
  // Whether the saver may end: at once without a password setting, else
  // when the platform's check says so.
  bool RequestExit();

  // Forgets the reference position (activation does so).
  void ResetReference() { FLastX = FLastY = -1; }
  int32_t FLastX = -1, FLastY = -1;
  // Mouse-move events still to be ignored: set by an exit request, so the
  // movement made while answering a password dialog does not ask again at
  // once.
  int32_t FMouseSkipCount = 0;

 private:
  const TSSFileLocations& FSettings;
  TExitPlatform& FPlatform;
};

// The input hook of the Flash kind: the messages of the journal record hook,
// and whether one ends the saver (without a password).
inline constexpr uint32_t HookKeyDown = 0x100, HookMouseMove = 0x200, HookLeftDown = 0x201,
                          HookRightDown = 0x204, HookMiddleDown = 0x207;
bool HookEventCloses(const TSSFileLocations& settings, uint32_t message, int32_t cursorX,
                     int32_t cursorY, int32_t startX, int32_t startY);

}  // namespace pixvane
