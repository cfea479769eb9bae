#include "tools/pixvane/Progress.h"

namespace pixvane::tool {
namespace {

// A line longer than the terminal wraps, and "\r" then returns only to the
// start of its last row; 79 columns fit every terminal.
constexpr size_t MaxColumns = 79;

// Cuts text to at most columns characters, counting a UTF-8 sequence as one.
std::string Clip(const std::string& text, size_t columns, size_t& shown) {
  shown = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
    if (continuation) continue;
    if (shown == columns) return text.substr(0, i);
    ++shown;
  }
  return text;
}

}  // namespace

void TProgressLine::Show(const std::string& text) {
  if (!FEnabled) return;
  size_t shown = 0;
  std::string line = Clip(text, MaxColumns, shown);
  FOut << '\r' << line;
  if (shown < FShown) FOut << std::string(FShown - shown, ' ') << '\r' << line;
  FOut.flush();
  FShown = shown;
}

void TProgressLine::Finish() {
  if (!FEnabled || FShown == 0) return;
  FOut << '\n';
  FOut.flush();
  FShown = 0;
}

}  // namespace pixvane::tool
