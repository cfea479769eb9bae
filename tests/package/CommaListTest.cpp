#include <gtest/gtest.h>

#include <random>

#include "base/Errors.h"
#include "package/CommaList.h"

namespace pixvane {
namespace {

std::vector<std::string> Parse(std::string_view text) {
  TCommaList list;
  list.SetCommaText(text);
  return list.Items;
}

using Items = std::vector<std::string>;

TEST(CommaList, ParsesSeparatorsAsTheRecordDoes) {
  EXPECT_EQ(Parse("a,,b"), (Items{"a", "", "b"}));
  EXPECT_EQ(Parse("one two"), (Items{"one", "two"}));
  EXPECT_EQ(Parse("a,"), (Items{"a", ""}));
  EXPECT_EQ(Parse("  a ,\t b  "), (Items{"a", "b"}));
  EXPECT_EQ(Parse(""), Items{});
  EXPECT_EQ(Parse("   "), Items{});
  EXPECT_EQ(Parse(","), (Items{"", ""}));
}

TEST(CommaList, ParsesQuotedItems) {
  EXPECT_EQ(Parse(R"("x ""y"", z",w)"), (Items{"x \"y\", z", "w"}));
  EXPECT_EQ(Parse(R"("")"), Items{""});
  EXPECT_EQ(Parse(R"("Caf)"
                  "\xE9"
                  R"(, bar","b")"),
            (Items{"Caf\xE9, bar", "b"}));
  EXPECT_EQ(Parse(R"("open)"), Items{"open"});
  EXPECT_EQ(Parse(R"("ab"cd)"), (Items{"ab", "cd"}));
}

TEST(CommaList, TextEndsAtANul) {
  EXPECT_EQ(Parse(std::string_view("a,b\0,c", 6)), (Items{"a", "b"}));
}

TEST(CommaList, FormatsWithQuotesOnlyWhereNeeded) {
  TCommaList list;
  list.Items = {"12", "two words", "say \"hi\"", "a,b", ""};
  EXPECT_EQ(list.CommaText(), R"(12,"two words","say ""hi""","a,b",)");
  list.Items = {""};
  EXPECT_EQ(list.CommaText(), R"("")");
  list.Items = {};
  EXPECT_EQ(list.CommaText(), "");
}

TEST(CommaList, FormatThenParseGivesTheSameItems) {
  std::mt19937 random(7);
  const std::string alphabet = std::string("ab ,\"\t\x01z9\xE9") + '\x7f';
  for (int round = 0; round < 2000; ++round) {
    TCommaList list;
    int count = static_cast<int>(random() % 5);
    for (int i = 0; i < count; ++i) {
      std::string item;
      int length = static_cast<int>(random() % 6);
      for (int k = 0; k < length; ++k) item += alphabet[random() % alphabet.size()];
      list.Items.push_back(item);
    }
    TCommaList copy;
    copy.SetCommaText(list.CommaText());
    ASSERT_EQ(copy.Items, list.Items) << list.CommaText();
  }
}

TEST(CommaList, IndexesAreCheckedAndNonNumbersAreZero) {
  TCommaList list;
  list.SetCommaText("0,1,2,7x,$10");
  EXPECT_EQ(list.Count(), 5);
  EXPECT_EQ(list.IntAt(2), 2);
  EXPECT_EQ(list.IntAt(3), 0);
  EXPECT_EQ(list.IntAt(4), 16);
  for (int index : {-1, 5}) {
    try {
      list.At(index);
      FAIL();
    } catch (const EListError& e) {
      EXPECT_STREQ(e.what(), "Index is out of bounds");
    }
  }
}

}  // namespace
}  // namespace pixvane
