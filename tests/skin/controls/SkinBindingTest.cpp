// A control's tie to its engine: when it may paint from the skin, and what
// reaches its window.
#include <gtest/gtest.h>

#include "skin/controls/SkinBinding.h"

namespace pixvane {
namespace {

std::unique_ptr<TSkinObject> Named(const std::string& name) {
  auto object = std::make_unique<TSkinObject>();
  object->Name = name;
  return object;
}

TEST(SkinBinding, PaintsFromAPrivateCopyOnlyWhileTheSkinHoldsTheNamedObject) {
  TSkinManager manager;
  TSkinBinding binding("checkbox");
  std::string heard;
  binding.OnChanging = [&] { heard += "<"; };
  binding.OnChanged = [&] { heard += ">"; };
  binding.OnRepaint = [&] { heard += "r"; };
  binding.SetManager(&manager);
  EXPECT_FALSE(binding.Usable());  // an empty skin: the plain look

  auto box = Named("CheckBox");
  box->AddChild(Named("Checked"));
  TSkinObject& stored = *box;
  manager.Source().AddObject(std::move(box));
  manager.Source().AddObject(Named("Button"));
  manager.SetDeltaHue(30);  // announced to the window, which binds again
  EXPECT_EQ(heard, "<>");
  binding.Bind();
  ASSERT_TRUE(binding.Usable());
  EXPECT_NE(binding.Copy(), &stored);
  EXPECT_EQ(binding.Part("CHECKED"), binding.Copy()->Child(0));
  EXPECT_EQ(&binding.PartOrCopy("Text"), binding.Copy());
  binding.Copy()->Child(0)->RequestRepaint();  // the copy's host is the binding
  EXPECT_EQ(heard, "<>r");

  manager.Source().Changing = true;
  EXPECT_FALSE(binding.Usable());
  manager.Source().Changing = false;
  binding.SkinObject = "Panel";  // no such object: plain look after binding
  binding.Bind();
  EXPECT_FALSE(binding.Usable());
  binding.SetManager(nullptr);
  manager.SetDeltaHue(60);
  EXPECT_EQ(heard, "<>r");  // no longer listening
}

}  // namespace
}  // namespace pixvane
