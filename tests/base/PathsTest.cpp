#include <gtest/gtest.h>

#include "base/Paths.h"

namespace pixvane {
namespace {

TEST(JoinPath, PutsExactlyOneDelimiterBetween) {
  EXPECT_EQ(JoinPath("C:\\Temp\\", "a.wav", '\\'), "C:\\Temp\\a.wav");
  EXPECT_EQ(JoinPath("C:\\Temp", "a.wav", '\\'), "C:\\Temp\\a.wav");
  EXPECT_EQ(JoinPath("/tmp", "a.wav", '/'), "/tmp/a.wav");
  EXPECT_EQ(JoinPath("", "a.wav", '\\'), "a.wav");
}

TEST(IsPlainFileName, AcceptsOrdinaryNames) {
  for (const char* name :
       {"song.mp3", "Intro Theme.wav", "a..b", "caf\xE9.swf", "CONSOLE.wav", "com10"})
    EXPECT_TRUE(IsPlainFileName(name)) << name;
}

TEST(IsPlainFileName, RefusesNamesThatLeaveTheFolder) {
  for (const char* name :
       {"", ".", "..", "..\\boot.ini", "../x", "a/b", "C:x.wav", "\\\\srv\\s", "a\tb", "what?.wav",
        "con", "NUL.txt", "com1.wav", "Lpt9", "aux .mp3", "com0", "COM\xB9.wav", "conin$"})
    EXPECT_FALSE(IsPlainFileName(name)) << name;
}

TEST(TempFolderPath, EndsWithTheDelimiter) {
  std::string path = TempFolderPath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.back(), PathDelim);
}

TEST(ExtractFilePath, KeepsTheFinalDelimiter) {
  EXPECT_EQ(ExtractFilePath("C:\\Savers\\Beach.scr"), "C:\\Savers\\");
  EXPECT_EQ(ExtractFilePath("/opt/x/pixvane"), "/opt/x/");
  EXPECT_EQ(ExtractFilePath("Beach.scr"), "");
}

}  // namespace
}  // namespace pixvane
