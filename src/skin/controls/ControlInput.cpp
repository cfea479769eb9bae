#include "skin/controls/ControlInput.h"

#include "base/AsciiText.h"

namespace pixvane {

TCaptionMarks CaptionMarks(std::string_view caption) {
  TCaptionMarks marks;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (++i == caption.size()) break;
      if (caption[i] != '&' && marks.Mark < 0) marks.Mark = static_cast<int>(marks.Shown.size());
    }
    marks.Shown += caption[i];
  }
  return marks;
}

char AcceleratorOf(std::string_view caption) {
  const TCaptionMarks marks = CaptionMarks(caption);
  return marks.Mark < 0 ? 0 : AsciiUpper(marks.Shown[static_cast<size_t>(marks.Mark)]);
}

bool IsAccelerator(std::string_view caption, char key) {
  char mark = AcceleratorOf(caption);
  return mark != 0 && mark == AsciiUpper(key);
}

}  // namespace pixvane
