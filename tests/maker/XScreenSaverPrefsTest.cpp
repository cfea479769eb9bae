#include <gtest/gtest.h>

#include "maker/ToolError.h"
#include "maker/XScreenSaverPrefs.h"

namespace pixvane::maker {
namespace {

// The shape xscreensaver-settings 6 writes: tabs, one saver a line, a blank
// line ending the list; the first saver's command runs on over two lines.
const std::string Prefs =
    "# XScreenSaver Preferences File\n"
    "mode:\t\trandom\n"
    "selected:\t1\n"
    "programs:\t\t\t\t\t\t\t\t      \\\n"
    "\t\t\t\tmaze --root\t\t\t\t    \\\n"
    "\t\t\t\t  --grid-size 4\t\t\t    \\n\\\n"
    "- GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n"
    "\t\t\t\tattraction --root\t\t\t    \\n\\\n"
    "\n"
    "\n"
    "pointerHysteresis:  10\n";

const TXScreenSaverEntry Beach{"Beach", "/usr/bin/pixvane play /savers/Beach.scr -root",
                               " play /savers/Beach.scr "};

int Occurrences(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(XScreenSaverPrefs, AnEntryIsAddedOnceAndUpdatedInPlace) {
  TPrefsEdit added = WithProgram(Prefs, Beach, false);
  EXPECT_EQ(added.Index, 3) << "after three savers, the two-line one counted once";
  std::string expected = Prefs;
  expected.insert(expected.find("\n\n\npointer") + 1, EntryLine(Beach));
  EXPECT_EQ(added.Text, expected) << "every other line as it was";

  TXScreenSaverEntry moved = Beach;
  moved.Command = "/opt/pixvane/pixvane play /savers/Beach.scr -root";
  TPrefsEdit updated = WithProgram(added.Text, moved, false);
  EXPECT_EQ(updated.Index, 3);
  EXPECT_EQ(Occurrences(updated.Text, Beach.Key), 1);
  EXPECT_NE(updated.Text.find("/opt/pixvane/pixvane play"), std::string::npos);
  EXPECT_EQ(updated.Text.size(), added.Text.size() + std::string("/opt/pixvane").size() -
                                     std::string("/usr/bin").size());
}

TEST(XScreenSaverPrefs, UninstallGivesBackTheOtherLinesExactly) {
  const TPrefsEdit kept = WithoutProgram(WithProgram(Prefs, Beach, false).Text, Beach.Key);
  EXPECT_EQ(kept.Index, 3);
  EXPECT_EQ(kept.Text, Prefs) << "the other saver stays selected";
  EXPECT_EQ(WithoutProgram(Prefs, Beach.Key).Index, -1);
  EXPECT_EQ(WithoutProgram(Prefs, Beach.Key).Text, Prefs);
}

TEST(XScreenSaverPrefs, SelectingMakesItTheOneSaverUntilItGoes) {
  const std::string selected = WithProgram(Prefs, Beach, true).Text;
  EXPECT_NE(selected.find("mode:\t\tone\nselected:\t3\n"), std::string::npos) << selected;
  const std::string removed = WithoutProgram(selected, Beach.Key).Text;
  EXPECT_NE(removed.find("mode:\t\trandom\nselected:\t-1\n"), std::string::npos) << removed;
}

// A list that does not end where XScreenSaver ends it: a last saver
// without its backslash-n. The new entry goes before it, and the selected
// index follows that saver.
TEST(XScreenSaverPrefs, ALastSaverWithoutItsEndStaysSelected) {
  const std::string prefs = "selected:\t1\nprograms:\t\\\n  maze -root \\n\\\n  xflame -root\n";
  const TPrefsEdit added = WithProgram(prefs, Beach, false);
  EXPECT_EQ(added.Index, 1);
  EXPECT_EQ(added.Text, "selected:\t2\nprograms:\t\\\n  maze -root \\n\\\n" + EntryLine(Beach) +
                            "  xflame -root\n");
  EXPECT_EQ(WithoutProgram(added.Text, Beach.Key).Text, prefs);
}

TEST(XScreenSaverPrefs, AFileWithoutAListIsRefused) {
  for (const std::string prefs :
       {"mode:\t\trandom\n", "programs:\t\tmaze -root\n", "programs:\t\\\n  maze -root \\\n\n"})
    EXPECT_THROW(WithProgram(prefs, Beach, true), EToolError) << prefs;
}

}  // namespace
}  // namespace pixvane::maker
