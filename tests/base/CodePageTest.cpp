#include <gtest/gtest.h>

#include "base/CodePage.h"

namespace pixvane {
namespace {

TEST(CodePage, TwoByteUtf8BecomesOneByteEach) {
  EXPECT_EQ(Utf8ToAnsi("Caf\xC3\xA9 \xC3\xBC"), "Caf\xE9 \xFC");
}

TEST(CodePage, MapsTheWindowsExtrasBothWays) {
  EXPECT_EQ(Utf8ToAnsi("\xE2\x82\xAC \xE2\x80\x9C"), "\x80 \x93");  // euro, left double quote
  EXPECT_EQ(AnsiToUtf8("\x80\x9F\xFF"), "\xE2\x82\xAC\xC5\xB8\xC3\xBF");
}

TEST(CodePage, ReplacesWhatTheCodePageLacks) {
  EXPECT_EQ(Utf8ToAnsi("\xE6\x97\xA5"), "?");        // a CJK character
  EXPECT_EQ(Utf8ToAnsi("\xF0\x9F\x98\x80!"), "?!");  // outside the BMP
  EXPECT_EQ(Utf8ToAnsi("\xC3"), "?");                // cut short
  EXPECT_EQ(Utf8ToAnsi("\xC0\xAF"), "??");           // overlong
  EXPECT_EQ(Utf8ToAnsi("\xF8\x80\x80"
                       "A"),
            "???A");  // no such lead byte
  EXPECT_EQ(Utf16ToAnsi(u"A\u00E9\U0001F600\xD800"), "A\xE9??");
}

TEST(CodePage, AnsiRoundTripsThroughUtf8) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
  EXPECT_TRUE(IsAscii("plain text"));
  EXPECT_FALSE(IsAscii("\xE9"));
}

TEST(CodePage, TextKeepsItsCharactersWhereTheCodePageLacksThem) {
  EXPECT_TRUE(FitsAnsi("Caf\xC3\xA9 \xE2\x82\xAC? "));
  EXPECT_FALSE(FitsAnsi("\xE2\x98\x80"));  // a sun
  EXPECT_FALSE(FitsAnsi("\xC3")) << "malformed text is not passed off as the code page";
  EXPECT_EQ(TStoredText::FromUtf8("Caf\xC3\xA9"), TStoredText("Caf\xE9"));
  EXPECT_EQ(TStoredText::FromUtf8("\xE6\x97\xA5\xC3"),
            TStoredText("\xE6\x97\xA5\xEF\xBF\xBD", true));
  EXPECT_EQ(TStoredText("Caf\xE9").ToUtf8(), "Caf\xC3\xA9");
  const std::u16string wide = u"A\u00E9\U0001F600\u6771";
  EXPECT_EQ(Utf16ToUtf8(wide), "A\xC3\xA9\xF0\x9F\x98\x80\xE6\x9D\xB1");
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(wide)), wide);
  EXPECT_EQ(Utf16ToUtf8(u"\xDC00x"), "\xEF\xBF\xBDx") << "an unpaired surrogate";
}

}  // namespace
}  // namespace pixvane
