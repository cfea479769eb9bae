#include <gtest/gtest.h>

#include <sstream>

#include "tools/pixvane/Progress.h"

namespace pixvane::tool {
namespace {

TEST(ProgressLine, RewritesItselfAndBlanksLeftovers) {
  std::ostringstream out;
  {
    TProgressLine line(out, true);
    line.Show("Adding picture 9/10: long-name.jpg");
    line.Show("Adding picture 10/10: a.jpg");
  }  // abandoned lines still end with a newline
  EXPECT_EQ(out.str(),
            "\rAdding picture 9/10: long-name.jpg"
            "\rAdding picture 10/10: a.jpg" +
                std::string(7, ' ') + "\rAdding picture 10/10: a.jpg\n");
}

TEST(ProgressLine, StaysWithinOneTerminalRow) {
  std::ostringstream out;
  TProgressLine line(out, true);
  std::string name;
  for (int i = 0; i < 100; ++i) name += "\xC3\xA9";  // "é", two bytes each
  line.Show(name);
  line.Finish();
  line.Finish();  // once only
  EXPECT_EQ(out.str(), "\r" + name.substr(0, 79 * 2) + "\n");
}

TEST(ProgressLine, DisabledWritesNothing) {
  std::ostringstream out;
  {
    TProgressLine line(out, false);
    line.Show("Adding picture 1/1: a.jpg");
  }
  EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace pixvane::tool
