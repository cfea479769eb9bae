#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <utility>

#include "host/win32/InputHook.h"

namespace pixvane {
namespace {

// Feeds the hook procedure journal records directly and looks for the
// WM_CLOSE it posts to its target.
class TInputHookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Which hook this system grants is a fact of the platform, worth a line
    // in the log.
    static bool told = false;
    Target = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    Settings.lExitMouseMove = Settings.lExitMouseClick = Settings.lExitKeyPress = true;
    SetCursorPos(40, 40);
    TInputHookKind kind = InstallInputHook(Target, Settings);
    EXPECT_NE(kind, TInputHookKind::None);
    if (!std::exchange(told, true))
      std::printf("input hook: %s\n",
                  kind == TInputHookKind::Journal ? "journal record" : "low-level");
  }
  void TearDown() override {
    CloseFromHook();  // removes the hook if the test left it
    DestroyWindow(Target);
  }
  // Whether a WM_CLOSE for the target is waiting; takes it.
  bool Closed() {
    MSG message;
    return PeekMessageA(&message, Target, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
  }
  LRESULT Feed(UINT message) {
    EVENTMSG event{};
    event.message = message;
    return InputHookProc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&event));
  }

  HWND Target = nullptr;
  TSSFileLocations Settings;
};

TEST_F(TInputHookTest, KeysAndButtonsClose) {
  for (UINT message : {WM_KEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN}) {
    InstallInputHook(Target, Settings);
    EXPECT_EQ(Feed(message), 1);
    EXPECT_TRUE(Closed()) << message;
  }
}

TEST_F(TInputHookTest, OtherEventsAndRulesThatAreOffDoNot) {
  Feed(WM_LBUTTONUP);
  Feed(WM_KEYUP);
  EXPECT_FALSE(Closed());
  Settings.lExitKeyPress = false;
  Feed(WM_KEYDOWN);
  EXPECT_FALSE(Closed());
}

TEST_F(TInputHookTest, AnyCursorMovementCloses) {
  Feed(WM_MOUSEMOVE);
  EXPECT_FALSE(Closed()) << "the cursor has not moved";
  POINT where;
  GetCursorPos(&where);
  SetCursorPos(where.x + 1, where.y);
  Feed(WM_MOUSEMOVE);
  EXPECT_TRUE(Closed()) << "one pixel is enough";
}

// The low-level pair, where the journal hook is refused: the same rules,
// with the cursor position the mouse event carries.
TEST_F(TInputHookTest, LowLevelEventsApplyTheSameRules) {
  POINT start;
  GetCursorPos(&start);
  auto mouse = [](UINT message, POINT at) {
    MSLLHOOKSTRUCT event{};
    event.pt = at;
    MouseHookProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&event));
  };
  mouse(WM_MOUSEMOVE, start);
  mouse(WM_LBUTTONUP, start);
  EXPECT_FALSE(Closed());
  mouse(WM_MOUSEMOVE, {start.x, start.y + 1});
  EXPECT_TRUE(Closed());

  InstallInputHook(Target, Settings);
  mouse(WM_RBUTTONDOWN, start);
  EXPECT_TRUE(Closed());

  KBDLLHOOKSTRUCT key{};
  key.vkCode = VK_SPACE;
  Settings.lExitKeyPress = false;
  InstallInputHook(Target, Settings);
  KeyboardHookProc(HC_ACTION, WM_KEYDOWN, reinterpret_cast<LPARAM>(&key));
  EXPECT_FALSE(Closed());
  Settings.lExitKeyPress = true;
  KeyboardHookProc(HC_ACTION, WM_KEYUP, reinterpret_cast<LPARAM>(&key));
  EXPECT_FALSE(Closed());
  KeyboardHookProc(HC_ACTION, WM_SYSKEYDOWN, reinterpret_cast<LPARAM>(&key));
  EXPECT_TRUE(Closed());
}

}  // namespace
}  // namespace pixvane
