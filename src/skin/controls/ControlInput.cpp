#include "skin/controls/ControlInput.h"

#include "base/AsciiText.h"

namespace pixvane {

char AcceleratorOf(std::string_view caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return AsciiUpper(caption[i + 1]);
    ++i;  // "&&": skip the literal ampersand
  }
  return 0;
}

bool IsAccelerator(std::string_view caption, char key) {
  char mark = AcceleratorOf(caption);
  return mark != 0 && mark == AsciiUpper(key);
}

}  // namespace pixvane
