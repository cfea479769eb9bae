// What hosts see: system buttons' visibility, press states and actions,
// repaint requests, and the manager's announcements.
#include <gtest/gtest.h>

#include "base/Stream.h"
#include "skin/SkinManager.h"
#include "skin/SkinScale.h"
#include "skin/SkinStateObjects.h"
#include "skin/SkinSysButtons.h"
#include "support/TempFolder.h"

namespace pixvane {
namespace {

class TFakeForm : public TSkinHost {
 public:
  uint32_t Icons = 0xFFFFFFFF;
  std::vector<TSkinAction> Actions;
  int Repaints = 0;

  void RepaintObject(TSkinObject&) override { ++Repaints; }
  bool IsSkinnedForm() const override { return true; }
  uint32_t BorderIcons() const override { return Icons; }
  void PerformAction(TSkinAction action, TSkinObject&) override { Actions.push_back(action); }
};

TEST(SkinBehaviour, SystemButtonsShowByWindowStateAndBorderIcons) {
  TFakeForm form;
  TSysButtonSkinObject restore, rollUp, close;
  restore.Action = sbaRestore;
  rollUp.Action = sbaRollUp;
  close.Action = sbaClose;
  for (TSkinObject* button :
       {static_cast<TSkinObject*>(&restore), static_cast<TSkinObject*>(&rollUp),
        static_cast<TSkinObject*>(&close)})
    button->SetHost(&form);
  auto shown = [&](int32_t state) {
    for (TSkinObject* b : {static_cast<TSkinObject*>(&restore), static_cast<TSkinObject*>(&rollUp),
                           static_cast<TSkinObject*>(&close)})
      b->SetState(state);
    return std::vector<bool>{restore.Visible, rollUp.Visible, close.Visible};
  };
  EXPECT_EQ(shown(0), (std::vector<bool>{false, true, true}));
  EXPECT_EQ(shown(4), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(shown(2), (std::vector<bool>{true, true, true}));
  EXPECT_EQ(shown(7), (std::vector<bool>{true, true, true}));  // not a window state
  form.Icons = sbiSystemMenu | sbiRollup;
  EXPECT_EQ(shown(0), (std::vector<bool>{false, true, false}));
}

TEST(SkinBehaviour, ASystemButtonActsOnReleaseAfterAPressOverIt) {
  TFakeForm form;
  TSysButtonSkinObject button;
  button.Action = sbaTray;
  button.SetHost(&form);
  button.MouseEnter();
  EXPECT_EQ(button.Press(), 1);
  button.MouseDown(mbLeft, ssLeft, 0, 0);
  EXPECT_EQ(button.Press(), 2);
  button.MouseLeave();
  button.MouseMove(ssLeft, 0, 0);
  button.MouseEnter();  // back in with the button still held
  EXPECT_EQ(button.Press(), 2);
  button.MouseUp(mbRight, 0, 0, 0);
  EXPECT_TRUE(form.Actions.empty());
  button.MouseUp(mbLeft, 0, 0, 0);
  EXPECT_EQ(button.Press(), 1);
  EXPECT_EQ(form.Actions, std::vector<TSkinAction>{sbaTray});
  EXPECT_EQ(form.Repaints, 5);  // 1, 2, 0, 2, 1
}

TEST(SkinBehaviour, ARollPanelButtonTogglesThePanelNamedFromTheRoot) {
  TSkinObject root;
  auto panel = std::make_unique<TRollPanelObject>();
  panel->Name = "Shade";
  panel->RollKind = rkTop;
  panel->RollValue = 10;
  TRollPanelObject& shade = *panel;
  auto button = std::make_unique<TSysButtonSkinObject>();
  button->Action = sbaRollPanel;
  button->RollPanel = "shade";
  TSysButtonSkinObject& roll = *button;
  root.AddChild(std::move(panel));
  root.AddChild(std::move(button));
  shade.SetBounds(0, 0, 100, 80);
  roll.MouseDown(mbLeft, ssLeft, 0, 0);
  roll.MouseUp(mbLeft, 0, 0, 0);
  EXPECT_EQ(shade.BoundsRect(), (TRect{0, 0, 100, 10}));
  roll.MouseDown(mbLeft, ssLeft, 0, 0);
  roll.MouseUp(mbLeft, 0, 0, 0);
  EXPECT_EQ(shade.BoundsRect(), (TRect{0, 0, 100, 80}));
}

TEST(SkinBehaviour, AnActiveSkinObjectLightsUnderThePointer) {
  TFakeForm host;
  TActiveSkinObject object;
  object.Color = 0x111111;
  object.ActiveColor = 0x222222;
  object.SetBounds(0, 0, 1, 1);
  object.SetHost(&host);
  TSkinBitmap target(1, 1);
  object.MouseEnter();
  object.PaintTo(target);
  EXPECT_EQ(target.Pixel(0, 0), OpaquePixel(0x222222));
  object.MouseLeave();
  object.PaintTo(target);
  EXPECT_EQ(target.Pixel(0, 0), OpaquePixel(0x111111));
  EXPECT_EQ(host.Repaints, 2);
}

class TCounter : public TSkinListener {
 public:
  std::string Heard;
  void SkinChanging(TSkinManager&) override { Heard += "<"; }
  void SkinChanged(TSkinManager&) override { Heard += ">"; }
};

TEST(SkinBehaviour, TheManagerAnnouncesHueAndFileChangesAroundThem) {
  test::TTempFolder folder;
  TSkinSource skin;
  auto form = std::make_unique<TSkinObject>();
  form->Color = 0x0000FF;
  skin.AddObject(std::move(form));
  skin.SaveToFile(folder.File("red.skin"));

  TSkinManager manager(folder.Path());
  TCounter counter;
  manager.AddListener(&counter);
  manager.SetDeltaHue(120);  // no skin yet: stored, not announced
  EXPECT_EQ(counter.Heard, "");
  manager.SetSkinFile("red.skin");  // found beside the program
  EXPECT_EQ(counter.Heard, ">");
  ASSERT_EQ(manager.Source().ObjectCount(), 1);
  EXPECT_EQ(manager.Source().Object(0)->Color, 0x00FF00);
  manager.SetDeltaHue(0);
  EXPECT_EQ(counter.Heard, "><>");
  EXPECT_EQ(manager.Source().Object(0)->Color, 0x0000FF);
  manager.SetDeltaHue(0);
  EXPECT_EQ(counter.Heard, "><>");
  manager.SetSkinFile("none.skin");
  EXPECT_EQ(counter.Heard, "><><>");
  EXPECT_EQ(manager.Source().ObjectCount(), 0);
  manager.RemoveListener(&counter);
}

TEST(SkinBehaviour, AFormTakesTheSkinOfItsScreensScaleAnnouncedAndTurned) {
  TSkinManager packer;
  packer.SkinStoreCompression = true;
  auto form = std::make_unique<TSkinObject>();
  form->Color = 0x0000FF;
  packer.Source().AddObject(std::move(form));
  TMemoryStream value;
  packer.WriteSkinStream(value);

  TSkinManager manager;
  TCounter counter;
  manager.AddListener(&counter);
  manager.SetDeltaHue(120);
  for (const char* heard : {">", "><>"}) {  // the second replaces the first
    value.Seek(0);
    manager.SetSkinStream(value);
    EXPECT_EQ(counter.Heard, heard);
    ASSERT_EQ(manager.Source().ObjectCount(), 1);
    EXPECT_EQ(manager.Source().Object(0)->Color, 0x00FF00);
  }
  manager.RemoveListener(&counter);

  EXPECT_EQ(SkinScaleForDpi(96), 100);
  EXPECT_EQ(SkinScaleForDpi(119), 100);
  EXPECT_EQ(SkinScaleForDpi(120), 150);
  EXPECT_EQ(SkinScaleForDpi(144), 150);
  EXPECT_EQ(SkinScaleForDpi(168), 200);
  EXPECT_EQ(SkinScaleForDpi(288), 200);
}

}  // namespace
}  // namespace pixvane
