// A skinned form's frame: what a point hits, rolling up and down, and a held
// press on a system button.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/SkinSysButtons.h"
#include "skin/controls/FormFrame.h"

namespace pixvane {
namespace {

// The window: the pointer's capture and the buttons' actions, in the order
// they come.
class TFakeWindow : public TSkinHost, public TFramePointer {
 public:
  std::vector<std::string> Log;

  void RepaintObject(TSkinObject&) override {}
  bool IsSkinnedForm() const override { return true; }
  void PerformAction(TSkinAction action, TSkinObject&) override {
    Log.push_back("action " + std::to_string(action));
  }
  void CapturePointer() override { Log.push_back("capture"); }
  void ReleasePointer() override { Log.push_back("release"); }
  void WatchPointerLeaving() override { Log.push_back("watch"); }
};

template <typename T>
T& Add(TSkinObject& parent, int32_t kind, int32_t align, TRect bounds) {
  auto child = std::make_unique<T>();
  T& object = *child;
  object.Kind = kind;
  object.Align = align;
  object.SetBounds(bounds);
  parent.AddChild(std::move(child));
  return object;
}

// A 100 x 80 form: a caption strip 20 high with a title and three buttons,
// borders 4 wide, the client inside.
class FormFrame : public testing::Test {
 protected:
  FormFrame() {
    form.Kind = skForm;
    TSkinObject& top = Add<TSkinObject>(form, skTop, saTop, {0, 0, 100, 20});
    title = &Add<TSkinObject>(top, skTitle, saNone, {4, 4, 40, 16});
    rollDown = &Add<TSysButtonSkinObject>(top, skSysButton, saNone, {52, 4, 64, 16});
    rollUp = &Add<TSysButtonSkinObject>(top, skSysButton, saNone, {68, 4, 80, 16});
    close = &Add<TSysButtonSkinObject>(top, skSysButton, saNone, {84, 4, 96, 16});
    rollDown->Action = sbaRollDown;
    rollUp->Action = sbaRollUp;
    close->Action = sbaClose;
    Add<TSkinObject>(form, skBottom, saBottom, {0, 76, 100, 80});
    Add<TSkinObject>(form, skLeft, saLeft, {0, 20, 4, 76});
    Add<TSkinObject>(form, skRight, saRight, {96, 20, 100, 76});
    Add<TSkinObject>(form, skClient, saClient, {});
    form.SetHost(&window);
    frame.SetTree(&form);
    frame.LayOut(100, 80, "Pictures", true);
  }

  TFakeWindow window;
  TSkinObject form;
  TSkinObject* title;
  TSysButtonSkinObject *rollDown, *rollUp, *close;
  TFormFrame frame{window};
};

TEST_F(FormFrame, APointHitsTheClientAVisibleButtonTheCaptionOrTheBorder) {
  EXPECT_EQ(title->Text, "Pictures");
  EXPECT_EQ(frame.Insets(), (TFrameInsets{4, 20, 4, 4}));
  const TRect client{4, 20, 96, 76};
  EXPECT_EQ(frame.HitTest({50, 50}, client), TFrameHit::Client);
  EXPECT_EQ(frame.HitTest({90, 10}, client), TFrameHit::SysButton);
  EXPECT_EQ(frame.HitTest({96, 10}, client), TFrameHit::Caption);  // right edges are outside
  EXPECT_EQ(frame.HitTest({56, 10}, client), TFrameHit::Caption);  // roll-down hides unrolled
  EXPECT_EQ(frame.HitTest({2, 50}, client), TFrameHit::Border);
  EXPECT_EQ(frame.HitTest({50, 78}, client), TFrameHit::Border);
}

TEST_F(FormFrame, RollingUpKeepsTheCaptionStripAndRollingDownGivesTheHeightBack) {
  EXPECT_EQ(frame.Roll(false, 100, 80), std::nullopt);
  EXPECT_EQ(frame.Roll(true, 100, 80), 20);
  EXPECT_TRUE(frame.RolledUp());
  EXPECT_EQ(frame.Roll(true, 100, 20), std::nullopt);
  frame.LayOut(100, 20, "Pictures", true);
  EXPECT_EQ(frame.Insets(), (TFrameInsets{0, 20, 0, 0}));  // no client while rolled up
  EXPECT_TRUE(rollDown->Visible);
  EXPECT_FALSE(rollUp->Visible);
  EXPECT_EQ(frame.HitTest({56, 10}, {}), TFrameHit::SysButton);
  EXPECT_EQ(frame.Roll(false, 100, 20), 80);
  EXPECT_FALSE(frame.RolledUp());
  frame.LayOut(100, 80, "Pictures", true);
  EXPECT_TRUE(rollUp->Visible);
  EXPECT_FALSE(rollDown->Visible);
}

TEST_F(FormFrame, AHeldPressFollowsThePointerAndActsOnlyWhenReleasedOverItsButton) {
  frame.PointerMoved({90, 10});
  EXPECT_EQ(close->Press(), 1);
  EXPECT_FALSE(frame.Press({30, 10}, false));  // the caption: the window's own drag
  EXPECT_EQ(close->Press(), 0);
  ASSERT_TRUE(frame.Press({90, 10}, false));
  EXPECT_EQ(close->Press(), 2);

  frame.Drag({74, 10});  // over another button: only its own shows anything
  EXPECT_EQ(close->Press(), 0);
  EXPECT_EQ(rollUp->Press(), 0);
  frame.PointerMoved({74, 10});  // the frame's own moves wait for the release
  EXPECT_EQ(rollUp->Press(), 0);
  frame.Drag({90, 10});
  EXPECT_EQ(close->Press(), 2);
  frame.Drag({50, 50});
  frame.Release({74, 10});  // elsewhere: no action, the button under it shows hot
  EXPECT_EQ(close->Press(), 0);
  EXPECT_EQ(rollUp->Press(), 1);
  EXPECT_EQ(window.Log,
            (std::vector<std::string>{"watch", "watch", "capture", "release", "watch"}));

  window.Log.clear();
  frame.Press({90, 10}, false);
  frame.Release({90, 10});
  // The pointer is free before the button acts: a menu or a closing
  // window must not find it held.
  EXPECT_EQ(window.Log, (std::vector<std::string>{"watch", "capture", "release",
                                                  "action " + std::to_string(sbaClose)}));
  EXPECT_FALSE(frame.Pressing());

  frame.Press({90, 10}, false);
  frame.PressLost();  // another window took the pointer
  frame.Drag({50, 50});
  EXPECT_EQ(close->Press(), 2);
  frame.Press({90, 10}, false);
  frame.SetTree(nullptr);  // the skin changes under a press
  EXPECT_FALSE(frame.Pressing());
}

}  // namespace
}  // namespace pixvane
