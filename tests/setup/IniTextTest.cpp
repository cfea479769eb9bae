#include <gtest/gtest.h>

#include "setup/IniText.h"

namespace pixvane {
namespace {

// The writer must leave every line it does not need to touch byte for byte;
// these hold the exact texts.

TEST(SetIniValue, ChangesOnlyTheValueOfTheFirstMatchingKey) {
  // [Other] comes first but is not the section; the user's spelling, case and
  // blanks stay, and a duplicate further down is left alone.
  EXPECT_EQ(SetIniValue("; user settings\r\n[Other]\r\nmute=1\r\n\r\n  [ setup ]  \r\n"
                        "  Mute =  0  \r\nvolume=3\r\nmute=0\r\n",
                        "Setup", "mute", "1"),
            "; user settings\r\n[Other]\r\nmute=1\r\n\r\n  [ setup ]  \r\n"
            "  Mute =  1  \r\nvolume=3\r\nmute=0\r\n");
  EXPECT_EQ(SetIniValue("[Setup]\nmute=\n", "Setup", "mute", "0"), "[Setup]\nmute=0\n");
  EXPECT_EQ(SetIniValue("[Setup]\n mute \n", "Setup", "mute", "1"), "[Setup]\n mute=1 \n");
}

TEST(SetIniValue, WritesOnlyTheFirstOfTwoSectionsWithTheName) {
  EXPECT_EQ(SetIniValue("[Setup]\na=1\n[Setup]\nmute=0\n", "Setup", "mute", "1"),
            "[Setup]\na=1\nmute=1\n[Setup]\nmute=0\n");
}

TEST(SetIniValue, AddsANewKeyAfterTheLastLineOfItsSection) {
  EXPECT_EQ(SetIniValue("[Setup]\r\nvolume=3\r\n; end of setup\r\n\r\n[Next]\r\nx=1\r\n", "Setup",
                        "mute", "1"),
            "[Setup]\r\nvolume=3\r\n; end of setup\r\nmute=1\r\n\r\n[Next]\r\nx=1\r\n");
  EXPECT_EQ(SetIniValue("[Setup]\n[Next]\n", "Setup", "mute", "0"), "[Setup]\nmute=0\n[Next]\n");
  // A section at the very end whose last line has no line end.
  EXPECT_EQ(SetIniValue("[Setup]\nvolume=3", "Setup", "mute", "1"), "[Setup]\nvolume=3\nmute=1\n");
}

TEST(SetIniValue, AddsAMissingSectionAtTheEndWithTheTextsLineEnds) {
  EXPECT_EQ(SetIniValue("", "Setup", "mute", "1"), "[Setup]\r\nmute=1\r\n");
  EXPECT_EQ(SetIniValue("a=1\n\n", "Setup", "mute", "1"), "a=1\n\n[Setup]\nmute=1\n");
  EXPECT_EQ(SetIniValue("[Other]\ra=1", "Setup", "mute", "0"), "[Other]\ra=1\r[Setup]\rmute=0\r");
  // Neither a comment nor a bracket without its closing one opens a section.
  EXPECT_EQ(SetIniValue("; [Setup]\n[Setup\nmute=0\n", "Setup", "mute", "1"),
            "; [Setup]\n[Setup\nmute=0\n[Setup]\nmute=1\n");
}

TEST(SetIniValue, KeepsAByteOrderMarkInFront) {
  EXPECT_EQ(SetIniValue("\xEF\xBB\xBF[Setup]\r\nmute=0\r\n", "Setup", "mute", "1"),
            "\xEF\xBB\xBF[Setup]\r\nmute=1\r\n");
}

TEST(FindIniValue, ReadsOnlyTheFirstSectionWithTheName) {
  // The writer relies on this: it writes to the first section, so a value in a
  // later duplicate must not shadow or be shadowed by it.
  EXPECT_EQ(FindIniValue("[Setup]\na=1\n[Setup]\nmute=1\n", "Setup", "mute"), std::nullopt);
}

TEST(FindIniValue, ReadsBackWhatSetIniValueWrote) {
  std::string text = "[Setup]\r\nmute=0\r\n[Language]\r\nTitle=\"Titel:\"\r\n";
  text = SetIniValue(text, "Setup", "mute", "1");
  text = SetIniValue(text, "Language", "btnOK", "");
  text = SetIniValue(text, "Language", "Author", "Autor:");
  EXPECT_EQ(FindIniValue(text, "Setup", "mute"), "1");
  EXPECT_EQ(FindIniValue(text, "Language", "Title"), "Titel:");
  EXPECT_EQ(FindIniValue(text, "Language", "btnOK"), "");
  EXPECT_EQ(FindIniValue(text, "Language", "Author"), "Autor:");
}

}  // namespace
}  // namespace pixvane
