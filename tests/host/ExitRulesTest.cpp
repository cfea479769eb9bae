#include <gtest/gtest.h>

#include "host/ExitRules.h"

namespace pixvane {
namespace {

// The platform as the test sets it up; counts the password dialogs.
class TFakeExitPlatform : public TExitPlatform {
 public:
  bool KeyOpens = true;
  std::optional<int32_t> UsePassword;
  std::optional<bool> Verified = true;
  int Dialogs = 0, CursorShown = 0;

  bool OpenDesktopKey() override { return KeyOpens; }
  void CloseDesktopKey() override {}
  std::optional<int32_t> ReadUsePassword() override { return UsePassword; }
  std::optional<bool> VerifyPassword() override {
    ++Dialogs;
    return Verified;
  }
  void ShowCursor(bool show) override { CursorShown += show ? 1 : -1; }
};

struct TRules {
  TSSFileLocations Settings;
  TFakeExitPlatform Platform;
  TExitRules Rules{Settings, Platform};
  TRules() { Settings.lExitMouseMove = Settings.lExitMouseClick = Settings.lExitKeyPress = true; }
};

TEST(ExitRules, FirstMoveOnlySetsTheReference) {
  TRules r;
  EXPECT_FALSE(r.Rules.MouseMove(500, 400));
  EXPECT_EQ(r.Rules.FLastX, 500);
  EXPECT_TRUE(r.Rules.MouseMove(503, 403)) << "3 right and 3 down";
}

TEST(ExitRules, MovementMustBeDiagonalAndAddsUp) {
  TRules r;
  r.Rules.MouseMove(100, 100);
  EXPECT_FALSE(r.Rules.MouseMove(300, 100)) << "200 straight to the right";
  EXPECT_FALSE(r.Rules.MouseMove(102, 102));
  EXPECT_FALSE(r.Rules.MouseMove(98, 102)) << "2 pixels are not enough";
  EXPECT_TRUE(r.Rules.MouseMove(104, 104)) << "two steps of 2 from the reference";
}

TEST(ExitRules, RefusedPasswordIgnoresTheNextFiveMoves) {
  TRules r;
  r.Platform.UsePassword = 1;
  r.Platform.Verified = false;
  r.Rules.MouseMove(10, 10);
  EXPECT_FALSE(r.Rules.MouseMove(20, 20));
  EXPECT_EQ(r.Platform.Dialogs, 1);
  EXPECT_EQ(r.Platform.CursorShown, 0) << "shown for the dialog and hidden again";
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(r.Rules.MouseMove(500 + 100 * i, 500 + 100 * i));
  EXPECT_EQ(r.Platform.Dialogs, 1);
  EXPECT_FALSE(r.Rules.MouseMove(22, 22)) << "measured against the position that opened the dialog";
  EXPECT_FALSE(r.Rules.MouseMove(40, 40));
  EXPECT_EQ(r.Platform.Dialogs, 2);
}

TEST(ExitRules, NoPasswordSettingEndsAtOnce) {
  for (std::optional<int32_t> use : {std::optional<int32_t>{}, std::optional<int32_t>{0}}) {
    TRules r;
    r.Platform.UsePassword = use;
    EXPECT_TRUE(r.Rules.KeyDown());
    EXPECT_EQ(r.Platform.Dialogs, 0);
  }
  TRules noKey;
  noKey.Platform.KeyOpens = false;
  EXPECT_TRUE(noKey.Rules.MouseDown());
  EXPECT_EQ(noKey.Platform.CursorShown, 0);
  TRules noLibrary;
  noLibrary.Platform.UsePassword = 1;
  noLibrary.Platform.Verified = std::nullopt;
  EXPECT_TRUE(noLibrary.Rules.RequestExit());
}

TEST(ExitRules, RulesThatAreOffDoNothing) {
  TRules r;
  r.Settings.lExitMouseMove = r.Settings.lExitMouseClick = r.Settings.lExitKeyPress = false;
  r.Rules.MouseMove(0, 0);
  EXPECT_FALSE(r.Rules.MouseMove(50, 50));
  EXPECT_FALSE(r.Rules.MouseDown());
  EXPECT_FALSE(r.Rules.KeyDown());
  EXPECT_EQ(r.Rules.FMouseSkipCount, 0);
}

TEST(InputHook, AnyMatchingEventClosesWithoutAPassword) {
  TSSFileLocations s;
  s.lExitMouseMove = s.lExitMouseClick = s.lExitKeyPress = true;
  EXPECT_TRUE(HookEventCloses(s, HookMouseMove, 11, 10, 10, 10)) << "one pixel is enough";
  EXPECT_FALSE(HookEventCloses(s, HookMouseMove, 10, 10, 10, 10));
  for (uint32_t button : {HookLeftDown, HookRightDown, HookMiddleDown})
    EXPECT_TRUE(HookEventCloses(s, button, 0, 0, 0, 0));
  EXPECT_TRUE(HookEventCloses(s, HookKeyDown, 0, 0, 0, 0));
  EXPECT_FALSE(HookEventCloses(s, 0x202, 0, 0, 0, 0)) << "a button release";
  s.lExitKeyPress = false;
  EXPECT_FALSE(HookEventCloses(s, HookKeyDown, 0, 0, 0, 0));
}

}  // namespace
}  // namespace pixvane
