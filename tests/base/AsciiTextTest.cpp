#include <gtest/gtest.h>

#include "base/AsciiText.h"

namespace pixvane {
namespace {

TEST(AsciiText, OnlyAsciiLettersChangeCase) {
  EXPECT_TRUE(SameText("TSSFileLocations", "tssfilelocations"));
  EXPECT_FALSE(SameText("Mute", "Mutes"));
  // Windows-1252 "É" and "é" are two names here, as they are to the system.
  EXPECT_FALSE(SameText("Caf\xC9", "Caf\xE9"));
  EXPECT_EQ(AsciiUpperCase("/c:1234 \xE9z"), "/C:1234 \xE9Z");
  EXPECT_EQ(AsciiLowerCase("[@AZ`az{] \xC9"), "[@az`az{] \xC9");
}

}  // namespace
}  // namespace pixvane
