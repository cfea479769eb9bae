#include <gtest/gtest.h>

#include "host/CommandLine.h"

namespace pixvane {
namespace {

TSaverMode ModeOf(std::string_view first, std::string_view second = "") {
  return ModeFromCommandLine(MakeCommandLine(first, second));
}

TEST(CommandLine, NoArgumentsOpenTheSetupDialog) {
  EXPECT_EQ(ModeOf(""), TSaverMode::smConfig);
}

TEST(CommandLine, EachSwitchInAnyOfItsThreeFormsAndLetterCases) {
  for (const char* first : {"/c", "-C", "c", "C", "/C:1234", "c123"})
    EXPECT_EQ(ModeOf(first), TSaverMode::smConfig) << first;
  for (const char* first : {"/p", "-P", "p", "/P:1234", "Pink"})
    EXPECT_EQ(ModeOf(first, "1234"), TSaverMode::smPreview) << first;
  for (const char* first : {"/a", "-A", "a", "Apple"})
    EXPECT_EQ(ModeOf(first, "1234"), TSaverMode::smSetPassword) << first;
}

TEST(CommandLine, AnythingElseRunsTheSaver) {
  for (const char* first : {"/s", "-S", "s", "/x", "123", "/", "-", "//c", "-/p", " c", "\"/c\""})
    EXPECT_EQ(ModeOf(first), TSaverMode::smSaver) << first;
}

TEST(CommandLine, OnlyTheFirstArgumentDecides) {
  EXPECT_EQ(ModeOf("/s", "/c"), TSaverMode::smSaver);
  EXPECT_EQ(ModeOf("/c", "/p"), TSaverMode::smConfig);
}

TEST(CommandLine, ArgumentsAreUpperCasedInAsciiOnly) {
  TCommandLine line = MakeCommandLine("/p", "abc\xe9z");
  EXPECT_EQ(line.First, "/P");
  EXPECT_EQ(line.Second, "ABC\xe9Z");  // a code-page letter stays as it is
}

TEST(CommandLine, SaverModeStartsAsTheSaverAndKeepsWhatItIsSet) {
  // Nothing in this program has set it yet. The saver window reads the
  // value as one byte, so the numbers matter too.
  EXPECT_EQ(SaverMode(), TSaverMode::smSaver);
  EXPECT_EQ(static_cast<uint8_t>(TSaverMode::smPreview), 1);
  SetSaverMode(TSaverMode::smPreview);
  EXPECT_EQ(SaverMode(), TSaverMode::smPreview);
  SetSaverMode(TSaverMode::smSaver);
}

TEST(WindowHandle, DecimalHandlesInTheSignedAndUnsignedRange) {
  EXPECT_EQ(ParseWindowHandle("1234"), 1234u);
  EXPECT_EQ(ParseWindowHandle("0"), 0u);
  EXPECT_EQ(ParseWindowHandle("2147483647"), 0x7FFFFFFFu);
  EXPECT_EQ(ParseWindowHandle("2147483648"), 0x80000000u);
  EXPECT_EQ(ParseWindowHandle("4294967295"), 0xFFFFFFFFu);
  // A negative value is the same 32 bits printed signed.
  EXPECT_EQ(ParseWindowHandle("-2147483648"), 0x80000000u);
  EXPECT_EQ(ParseWindowHandle("$1F"), 0x1Fu);
}

TEST(WindowHandle, TextThatIsNoHandleGivesNothing) {
  for (const char* text : {"", ":1234", "12a", "4294967296", "99999999999", "1234 ", "+", "0x"})
    EXPECT_FALSE(ParseWindowHandle(text).has_value()) << text;
}

TEST(InstanceMarker, NamedAfterTheFileNameWithoutItsFolder) {
  EXPECT_EQ(InstanceMarkerName("C:\\Windows\\System32\\Beach.scr"), "Beach.scrSemaphore");
  // Two copies in different folders share the marker; the letter case is kept.
  EXPECT_EQ(InstanceMarkerName("D:\\Savers\\Beach.scr"), InstanceMarkerName("C:\\x\\Beach.scr"));
  EXPECT_EQ(InstanceMarkerName("C:\\x\\BEACH.SCR"), "BEACH.SCRSemaphore");
  EXPECT_NE(InstanceMarkerName("C:\\x\\Beach.scr"), InstanceMarkerName("C:\\x\\Dunes.scr"));
  EXPECT_EQ(InstanceMarkerName("Z:/tmp/run/Beach.scr"), "Beach.scrSemaphore");
  EXPECT_EQ(InstanceMarkerName("Beach.scr"), "Beach.scrSemaphore");
}

TEST(PasswordLibrary, OneBackslashBetweenFolderAndName) {
  EXPECT_EQ(PasswordLibraryPath("C:\\Windows\\system32"), "C:\\Windows\\system32\\MPR.DLL");
  EXPECT_EQ(PasswordLibraryPath("C:\\"), "C:\\MPR.DLL");
  EXPECT_EQ(PasswordLibraryPath(""), "MPR.DLL");
}

}  // namespace
}  // namespace pixvane
