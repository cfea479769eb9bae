#include "show/CaptionLayout.h"

#include <string>

namespace pixvane {
namespace {

// Where the character after the one at i starts: UTF-8 characters are whole
// sequences, 8-bit ones single bytes.
size_t NextChar(const std::string& text, size_t i, bool utf8) {
  if (!utf8) return i + 1;
  NextUtf8(text, i);
  return i;
}

size_t PrevChar(const std::string& text, size_t end, bool utf8) {
  size_t i = 0, last = 0;
  while (i < end) {
    last = i;
    i = NextChar(text, i, utf8);
  }
  return last;
}

class TWrapper {
 public:
  TWrapper(bool utf8, int32_t width, const std::function<int32_t(const TStoredText&)>& measure)
      : FUtf8(utf8), FWidth(width), FMeasure(measure) {}

  bool Fits(const std::string& line) const { return FMeasure({line, FUtf8}) <= FWidth; }

  // The longest start of word that fits a line alone, at least one character.
  size_t FittingStart(const std::string& word) const {
    size_t end = NextChar(word, 0, FUtf8);
    for (size_t next; end < word.size(); end = next) {
      next = NextChar(word, end, FUtf8);
      if (!Fits(word.substr(0, next))) break;
    }
    return end;
  }

  // Lines until the text is through or one more than can be shown, which
  // says the shown text ends in an ellipsis.
  std::vector<std::string> Lines(const std::string& text) const {
    std::vector<std::string> lines;
    std::string line;
    size_t i = 0;
    while (i < text.size() && lines.size() <= MaxCaptionLines) {
      size_t end = text.find(' ', i);
      if (end == std::string::npos) end = text.size();
      std::string word = text.substr(i, end - i);
      i = end < text.size() ? end + 1 : end;
      if (word.empty()) continue;
      std::string joined = line.empty() ? word : line + ' ' + word;
      if (Fits(joined)) {
        line = std::move(joined);
        continue;
      }
      if (!line.empty()) lines.push_back(std::move(line));
      while (!word.empty() && !Fits(word) && lines.size() <= MaxCaptionLines) {
        const size_t cut = FittingStart(word);
        lines.push_back(word.substr(0, cut));
        word.erase(0, cut);
      }
      line = std::move(word);
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
  }

  // The line shortened until it fits with the ellipsis after it.
  std::string WithEllipsis(std::string line) const {
    const std::string dots = FUtf8 ? "\xE2\x80\xA6" : "\x85";  // U+2026 in either
    while (!line.empty() && !Fits(line + dots)) {
      line.erase(PrevChar(line, line.size(), FUtf8));
      while (!line.empty() && line.back() == ' ') line.pop_back();
    }
    return line + dots;
  }

 private:
  bool FUtf8;
  int32_t FWidth;
  const std::function<int32_t(const TStoredText&)>& FMeasure;
};

}  // namespace

std::vector<TStoredText> WrapCaption(const TStoredText& text, int32_t width,
                                     const std::function<int32_t(const TStoredText&)>& measure) {
  if (measure(text) <= width) return {text};
  const TWrapper wrapper(text.Utf8, width, measure);
  std::vector<std::string> lines = wrapper.Lines(text.Bytes);
  if (lines.size() > MaxCaptionLines) {
    lines.resize(MaxCaptionLines);
    lines.back() = wrapper.WithEllipsis(std::move(lines.back()));
  }
  std::vector<TStoredText> wrapped;
  for (std::string& line : lines) wrapped.push_back({std::move(line), text.Utf8});
  return wrapped;
}

}  // namespace pixvane
