#include "base/win32/MessagePump.h"

#include <gtest/gtest.h>

namespace pixvane {
namespace {

// Messages posted to the thread itself: no window takes them, so the filter
// is where they are seen.
class MessagePumpTest : public ::testing::Test {
 protected:
  void TearDown() override { ProcessMessages(TQuitMessage::Drop); }
  static void Post() { PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0); }
  static bool Quit() {
    PostQuitMessage(0);
    return true;
  }
  TMessageFilter Counter() {
    return [this](MSG& message) {
      if (message.message != WM_APP) return false;
      ++Seen;
      return true;
    };
  }
  int Seen = 0;
};

TEST_F(MessagePumpTest, ANestedPumpHandsTheQuitBackAndAnotherDropsIt) {
  PostQuitMessage(3);
  EXPECT_EQ(ProcessMessages(TQuitMessage::Repost), TPumped::Quit);
  EXPECT_EQ(ProcessMessages(TQuitMessage::Stop), TPumped::Quit) << "the quit was not posted again";
  EXPECT_EQ(ProcessMessages(TQuitMessage::Stop), TPumped::Nothing) << "Stop took it for good";
  PostQuitMessage(3);
  Post();
  EXPECT_EQ(ProcessMessages(TQuitMessage::Drop, Counter()), TPumped::Messages);
  EXPECT_EQ(Seen, 1);
  EXPECT_EQ(ProcessMessages(TQuitMessage::Stop), TPumped::Nothing);
}

TEST_F(MessagePumpTest, TheLoopCallsItsIdleHookWhenTheQueueRunsEmptyAndEndsWhenTold) {
  int idle = 0;
  RunMessageLoop({.Filter = Counter(), .OnIdle = [&idle] {
                    if (++idle == 3) return Quit();
                    Post();
                    return true;
                  }});
  EXPECT_EQ(Seen, 2);
  EXPECT_EQ(idle, 3);

  Seen = 0;
  Post();
  Post();
  // Should it go on, the quit ends it with both messages taken.
  RunMessageLoop({.Filter = Counter(), .OnIdle = Quit, .Ended = [this] { return Seen == 1; }});
  EXPECT_EQ(Seen, 1) << "the loop went on after it was told to end";
  EXPECT_EQ(ProcessMessages(TQuitMessage::Stop, Counter()), TPumped::Messages);
  EXPECT_EQ(Seen, 2);
}

}  // namespace
}  // namespace pixvane
