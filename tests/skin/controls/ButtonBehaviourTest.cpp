#include <gtest/gtest.h>

#include "skin/controls/ButtonBehaviour.h"

namespace pixvane {
namespace {

TEST(ButtonBehaviour, APressClicksOnlyWhenReleasedOverTheButton) {
  TButtonBehaviour button;
  EXPECT_TRUE(button.MouseDown().TakeFocus);
  EXPECT_EQ(button.StateNumber(), StatePressed);
  EXPECT_TRUE(button.MouseMove(80, 10, 75, 25).Repaint);  // dragged off: shown released
  EXPECT_FALSE(button.Pressed());
  EXPECT_TRUE(button.MouseMove(74, 25, 75, 25).Repaint);  // the bottom row still holds it
  EXPECT_TRUE(button.Pressed());
  EXPECT_FALSE(button.MouseUp(74, 25, 75, 25).Click);  // but a release there is outside
  EXPECT_FALSE(button.Pressed());

  button.MouseDown();
  EXPECT_TRUE(button.MouseUp(0, 0, 75, 25).Click);
  EXPECT_FALSE(button.MouseUp(0, 0, 75, 25).Click);  // no press, no click

  button.Enabled = false;
  EXPECT_EQ(button.MouseDown(), TControlActions{});
  EXPECT_FALSE(button.MouseUp(1, 1, 75, 25).Click);
}

TEST(ButtonBehaviour, KeysClickAsTheDialogExpects) {
  TButtonBehaviour button;
  EXPECT_FALSE(button.KeyDown(TControlKey::Space, true).Repaint);  // Alt+Space is the system menu
  button.KeyDown(TControlKey::Space, false);
  EXPECT_TRUE(button.Pressed());
  TControlActions up = button.KeyUp(TControlKey::Space, false);
  EXPECT_TRUE(up.Click && up.ConsumeKey);
  EXPECT_FALSE(button.Pressed());
  TControlActions enter = button.KeyUp(TControlKey::Enter, false);
  EXPECT_TRUE(enter.FlashPressed && !enter.Click);

  // Enter goes to the button showing the default look, Escape to the cancel
  // button, and neither with a modifier held.
  EXPECT_FALSE(button.DialogKey(TControlKey::Enter, false, false, false).Click);
  button.Default = true;
  button.FocusMovedElsewhere(false);
  EXPECT_TRUE(button.DialogKey(TControlKey::Enter, false, false, false).Click);
  EXPECT_FALSE(button.DialogKey(TControlKey::Enter, false, true, false).Click);
  EXPECT_FALSE(button.DialogKey(TControlKey::Escape, false, false, false).Click);
  button.Cancel = true;
  EXPECT_TRUE(button.DialogKey(TControlKey::Escape, false, false, false).Click);
  button.CanFocus = false;
  EXPECT_FALSE(button.DialogKey(TControlKey::Escape, false, false, false).Click);
}

TEST(ButtonBehaviour, TheDefaultLookFollowsTheFocus) {
  TButtonBehaviour ok;
  ok.Default = true;
  ok.FocusMovedElsewhere(false);  // the check box has the focus
  EXPECT_EQ(ok.StateNumber(), StateFocused);
  ok.FocusMovedElsewhere(true);  // another button has it and is the one Enter clicks
  EXPECT_EQ(ok.StateNumber(), StateNormal);
  ok.FocusEntered();
  EXPECT_TRUE(ok.DefaultLook());
  ok.MouseEnter();
  EXPECT_EQ(ok.StateNumber(), StateHot);
  ok.Enabled = false;
  EXPECT_EQ(ok.StateNumber(), StateDisabled);  // whatever else holds
}

}  // namespace
}  // namespace pixvane
