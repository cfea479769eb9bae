#include <gtest/gtest.h>

#include "base/IntText.h"

namespace pixvane {
namespace {

TEST(ParseInt, AcceptsDecimalWithBlanksAndSign) {
  EXPECT_EQ(ParseInt("595176"), 595176);
  EXPECT_EQ(ParseInt("  -12"), -12);
  EXPECT_EQ(ParseInt("+7"), 7);
  EXPECT_EQ(ParseInt("2147483647"), 2147483647);
  EXPECT_EQ(ParseInt("-2147483648"), INT32_MIN);
}

TEST(ParseInt, AcceptsEveryHexPrefix) {
  for (const char* text : {"$1F", "x1F", "X1f", "0x1F", "0X1f"})
    EXPECT_EQ(ParseInt(text), 31) << text;
  EXPECT_EQ(ParseInt("-$10"), -16);
  EXPECT_EQ(ParseInt("$FFFFFFFF"), -1);
}

TEST(ParseInt, RejectsEverythingElse) {
  for (const char* text : {"", " ", "-", "$", "0x", "12 ", "1a", "abc", "1.5", "\t5", "2147483648",
                           "-2147483649", "$100000000", "99999999999999999999999"})
    EXPECT_FALSE(ParseInt(text).has_value()) << '"' << text << '"';
  EXPECT_EQ(StrToIntDef("word", 9), 9);
}

TEST(TrimControls, RemovesCodesUpTo32AtBothEnds) {
  EXPECT_EQ(TrimControls(std::string_view("\0 12\t \x1f", 7)), "12");
  EXPECT_EQ(TrimControls("   "), "");
  EXPECT_EQ(TrimControls("a b"), "a b");
}

}  // namespace
}  // namespace pixvane
