#include <gtest/gtest.h>

#include "skin/controls/CheckBoxBehaviour.h"
#include "skin/controls/PanelGeometry.h"

namespace pixvane {
namespace {

TEST(CheckBoxBehaviour, EveryChangeOfStateClicksExceptWhileLoading) {
  TCheckBoxBehaviour box;
  int clicks = 0;
  box.OnClick = [&] { ++clicks; };
  box.SetChecked(false);  // already unchecked: nothing
  EXPECT_EQ(clicks, 0);
  box.SetChecked(true);  // a stored "1" shown by the program counts
  EXPECT_EQ(clicks, 1);
  box.SetState(TCheckBoxState::cbGrayed);
  EXPECT_FALSE(box.Checked());
  EXPECT_EQ(clicks, 2);
  box.Loading = true;
  box.SetChecked(false);
  EXPECT_EQ(clicks, 2);
}

TEST(CheckBoxBehaviour, MouseSpaceAndMarkToggle) {
  TCheckBoxBehaviour box;
  box.SetState(TCheckBoxState::cbGrayed);
  TControlActions down = box.MouseDown();
  EXPECT_TRUE(down.TakeFocus && down.Capture);
  EXPECT_TRUE(box.MouseUp(98, 20, 98, 20).ReleaseCapture);  // both far edges count
  EXPECT_TRUE(box.Checked());                               // grayed goes to checked
  box.MouseDown();
  box.MouseUp(99, 5, 98, 20);
  EXPECT_TRUE(box.Checked());

  box.KeyDown(TControlKey::Space);
  EXPECT_TRUE(box.Checked());  // only the release toggles
  box.KeyUp(TControlKey::Space);
  EXPECT_FALSE(box.Checked());
  box.KeyUp(TControlKey::Space);  // a release without its press: nothing
  EXPECT_FALSE(box.Checked());

  EXPECT_EQ(box.Accelerator(), TControlActions{});  // the focus was not taken
  box.FocusEntered();
  box.Accelerator();
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(box.StateNumber(), StateFocused);
  box.MouseEnter();
  EXPECT_EQ(box.StateNumber(), StateHot);
}

TEST(PanelBehaviour, GeometryAndTheCaptionButton) {
  TPanelGeometry g = PanelGeometryOf(90, 100, TPanelLook{});
  EXPECT_EQ(g.Caption, (TRect{1, 1, 89, 21}));
  EXPECT_EQ(g.Button, (TRect{71, 3, 87, 19}));
  EXPECT_EQ(g.Client, (TRect{4, 24, 86, 96}));
  TPanelLook plain;
  plain.ShowCaption = plain.ShowBevel = false;
  g = PanelGeometryOf(90, 100, plain);
  EXPECT_TRUE(g.Button.IsEmpty());
  EXPECT_EQ(g.Client, (TRect{3, 3, 87, 97}));

  TPanelButtonBehaviour button;
  TRect r{71, 3, 87, 19};
  EXPECT_FALSE(button.MouseDown(r, 10, 10));
  EXPECT_TRUE(button.MouseDown(r, 75, 5));
  EXPECT_EQ(button.StateNumber(), StatePressed);
  button.MouseMove(r, 10, 10, true);
  EXPECT_EQ(button.StateNumber(), StateNormal);
  EXPECT_FALSE(button.MouseUp(r, 10, 10));
  button.MouseDown(r, 75, 5);
  EXPECT_TRUE(button.MouseUp(r, 80, 10));
}

}  // namespace
}  // namespace pixvane
