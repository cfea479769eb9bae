#include "tools/pixvane/PlayCommand.h"

#include <gtest/gtest.h>

namespace pixvane::tool {
namespace {

TEST(PlayCommandTest, SizeIsTwoSidesInRange) {
  EXPECT_EQ(ParseSize("1920x1080"), std::make_pair(1920, 1080));
  EXPECT_EQ(ParseSize("16X16384"), std::make_pair(16, 16384));
  for (const char* bad : {"", "800", "x600", "800x", "15x600", "800x16385", "800x600x2", "-800x600",
                          "800 x 600", "99999999999x600", "0x0"})
    EXPECT_FALSE(ParseSize(bad)) << bad;
}

// XScreenSaver writes the id in hex with 0x; people pass xwininfo's decimal.
TEST(PlayCommandTest, WindowIdInHexOrDecimal) {
  EXPECT_EQ(ParseWindowId("0x1a00007"), 0x1a00007u);
  EXPECT_EQ(ParseWindowId("0X1A00007"), 0x1a00007u);
  EXPECT_EQ(ParseWindowId("27262983"), 27262983u);
  for (const char* bad :
       {"", "0", "0x", "0x0", "0x1g", "abc", "-5", "12 ", "0x100000000", "99999999999999999999"})
    EXPECT_FALSE(ParseWindowId(bad)) << bad;
}

TEST(PlayCommandTest, SingleDashFormsOnlyAfterPlay) {
  using Args = std::vector<std::string>;
  EXPECT_EQ(WithXScreenSaverForms({"pixvane", "play", "a.scr", "-root", "-window-id", "0x5"}),
            (Args{"pixvane", "play", "a.scr", "--root", "--window-id", "0x5"}));
  // Other commands keep their own short options; a saver named like an
  // option stays a name.
  EXPECT_EQ(WithXScreenSaverForms({"pixvane", "render", "-root"}),
            (Args{"pixvane", "render", "-root"}));
  EXPECT_EQ(WithXScreenSaverForms({"pixvane", "play", "--window", "-o"}),
            (Args{"pixvane", "play", "--window", "-o"}));
}

}  // namespace
}  // namespace pixvane::tool
