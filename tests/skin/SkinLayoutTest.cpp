// Layout by Align: the passes, hidden children and the corner rules.
#include <gtest/gtest.h>

#include "skin/SkinObject.h"

namespace pixvane {
namespace {

TSkinObject& AddChild(TSkinObject& parent, int32_t align, int32_t width, int32_t height,
                      int32_t left = 0, int32_t top = 0) {
  auto child = std::make_unique<TSkinObject>();
  child->Align = align;
  child->SetBounds(left, top, width, height);
  TSkinObject& added = *child;
  parent.AddChild(std::move(child));
  return added;
}

TEST(SkinLayout, StripsComeOffTheFreeAreaPassByPassAndTheClientTakesTheRest) {
  TSkinObject parent;
  // In child order the client and the plain strip come first; the passes
  // still place the "most" strip before them.
  TSkinObject& client = AddChild(parent, saClient, 1, 1);
  TSkinObject& left = AddChild(parent, saLeft, 30, 5);
  TSkinObject& top = AddChild(parent, saMostTop, 5, 20);
  TSkinObject& bottom = AddChild(parent, saBottom, 5, 10);
  parent.SetBounds(0, 0, 200, 100);
  EXPECT_EQ(top.BoundsRect(), (TRect{0, 0, 200, 20}));
  EXPECT_EQ(bottom.BoundsRect(), (TRect{0, 90, 200, 100}));
  EXPECT_EQ(left.BoundsRect(), (TRect{0, 20, 30, 90}));
  EXPECT_EQ(client.BoundsRect(), (TRect{30, 20, 200, 90}));
}

TEST(SkinLayout, AHiddenChildIsNotPlacedAndDoesNotShrinkTheFreeArea) {
  TSkinObject parent;
  TSkinObject& hidden = AddChild(parent, saMostTop, 5, 20, 7, 8);
  hidden.Visible = false;
  TSkinObject& client = AddChild(parent, saClient, 1, 1);
  parent.SetBounds(10, 10, 100, 50);
  EXPECT_EQ(hidden.BoundsRect(), (TRect{7, 8, 12, 28}));
  EXPECT_EQ(client.BoundsRect(), (TRect{10, 10, 110, 60}));
}

TEST(SkinLayout, CentredChildrenKeepTheirWidthAndSpanTheParentsHeight) {
  TSkinObject parent;
  AddChild(parent, saMostLeft, 20, 1);
  TSkinObject& centred = AddChild(parent, saCenter, 30, 5);
  parent.SetBounds(0, 4, 120, 40);
  // The free area is 20..120; (100 - 30) / 2 = 35 from its left.
  EXPECT_EQ(centred.BoundsRect(), (TRect{55, 4, 85, 44}));
}

TEST(SkinLayout, CornerChildrenKeepTheirDistanceFromTheGrowingEdge) {
  TSkinObject form;
  form.SetBounds(0, 0, 300, 200);
  TSkinObject& close = AddChild(form, saTopRight, 16, 16, 278, 4);
  TSkinObject& grip = AddChild(form, saBottomLeft, 8, 8, 2, 190);
  TSkinObject& fixed = AddChild(form, saNone, 8, 8, 50, 50);
  form.SetBounds(0, 0, 400, 230);
  EXPECT_EQ(close.Left(), 378);
  EXPECT_EQ(close.Top(), 4);
  EXPECT_EQ(grip.Top(), 220);
  EXPECT_EQ(fixed.BoundsRect(), (TRect{50, 50, 58, 58}));
}

TEST(SkinLayout, SizesAreNeverNegativeAndHostileOnesStayBounded) {
  TSkinObject object;
  object.SetBounds(5, 5, -10, -1);
  EXPECT_EQ(object.BoundsRect(), (TRect{5, 5, 5, 5}));
  object.SetBounds(INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX);
  EXPECT_LT(object.Left(), object.BoundsRect().Right);  // no wrap
}

}  // namespace
}  // namespace pixvane
