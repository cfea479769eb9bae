#include <windows.h>

#include <gtest/gtest.h>

#include "host/win32/InputHook.h"

namespace pixvane {
namespace {

// Feeds the hook procedure journal records directly and looks for the
// WM_CLOSE it posts to its target.
class TInputHookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Target = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    Settings.lExitMouseMove = Settings.lExitMouseClick = Settings.lExitKeyPress = true;
    SetCursorPos(40, 40);
    InstallInputHook(Target, Settings);
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

}  // namespace
}  // namespace pixvane
