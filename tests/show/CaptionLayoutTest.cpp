#include "show/CaptionLayout.h"

#include <gtest/gtest.h>

namespace pixvane {
namespace {

// Every character 10 pixels wide, counted as UTF-8 or 8-bit as the text is.
int32_t Measure(const TStoredText& text) {
  int32_t characters = 0;
  for (size_t i = 0; i < text.Bytes.size(); ++characters)
    if (text.Utf8)
      NextUtf8(text.Bytes, i);
    else
      ++i;
  return characters * 10;
}

std::vector<std::string> Wrap(const TStoredText& text, int32_t width) {
  std::vector<std::string> lines;
  for (const TStoredText& line : WrapCaption(text, width, Measure)) {
    EXPECT_EQ(line.Utf8, text.Utf8);
    lines.push_back(line.Bytes);
  }
  return lines;
}

TEST(CaptionLayout, WrapsAtSpacesWithinTheWidth) {
  EXPECT_EQ(Wrap({"Kyoto, first light"}, 180), (std::vector<std::string>{"Kyoto, first light"}));
  EXPECT_EQ(Wrap({"Kyoto, first light"}, 120), (std::vector<std::string>{"Kyoto, first", "light"}));
  EXPECT_EQ(Wrap({"a  b"}, 10), (std::vector<std::string>{"a", "b"})) << "runs of spaces";
  // A word wider than a line is broken between its characters.
  EXPECT_EQ(Wrap({"ab abcdefgh"}, 40), (std::vector<std::string>{"ab", "abcd", "efgh"}));
}

TEST(CaptionLayout, ThreeLinesAtMostThenAnEllipsis) {
  EXPECT_EQ(Wrap({"one two three four five"}, 50),
            (std::vector<std::string>{"one", "two", "thre\x85"}));
  EXPECT_EQ(Wrap({"one two six"}, 30), (std::vector<std::string>{"one", "two", "six"}))
      << "exactly three lines need no ellipsis";
  // A screen narrower than one character still shows a character a line.
  EXPECT_EQ(Wrap({"abcd"}, 5), (std::vector<std::string>{"a", "b", "\x85"}));
}

TEST(CaptionLayout, Utf8TextBreaksBetweenWholeCharacters) {
  // Six CJK characters with no spaces, three to a line; the ellipsis is U+2026.
  const std::string tokyo = "\xE6\x9D\xB1\xE4\xBA\xAC";  // two characters
  EXPECT_EQ(Wrap({tokyo + tokyo + tokyo, true}, 30),
            (std::vector<std::string>{tokyo + "\xE6\x9D\xB1", "\xE4\xBA\xAC" + tokyo}));
  EXPECT_EQ(Wrap({tokyo + tokyo + tokyo + tokyo + tokyo, true}, 30).back(), tokyo + "\xE2\x80\xA6");
}

}  // namespace
}  // namespace pixvane
