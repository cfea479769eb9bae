#pragma once
#include <ostream>
#include <string>

namespace pixvane::tool {

// One status line that rewrites itself ("\rAdding picture 12/100: x.jpg")
// while long work goes on, and ends with a newline when the work is done or
// abandoned, so a following message starts on a line of its own. A disabled
// line (output not a terminal) writes nothing at all.
class TProgressLine {
 public:
  TProgressLine(std::ostream& out, bool enabled) : FOut(out), FEnabled(enabled) {}
  ~TProgressLine() { Finish(); }
  TProgressLine(const TProgressLine&) = delete;
  TProgressLine& operator=(const TProgressLine&) = delete;

  void Show(const std::string& text);
  void Finish();

 private:
  std::ostream& FOut;
  bool FEnabled;
  size_t FShown = 0;  // characters of the line on screen, to blank out leftovers
};

}  // namespace pixvane::tool
