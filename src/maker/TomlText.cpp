#include "maker/TomlText.h"

namespace pixvane::maker {
namespace {

// The quote a string starts with at i ("""...""", '''...''', "..." or
// '...'), or nothing.
std::string_view QuoteAt(std::string_view text, size_t i) {
  for (std::string_view quote : {"\"\"\"", "'''", "\"", "'"})
    if (text.compare(i, quote.size(), quote) == 0) return quote;
  return {};
}

}  // namespace

int LineOfStrayNonAscii(std::string_view text) {
  int line = 1;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++line;
    } else if (text[i] == '#') {  // a comment, to the end of its line
      i = text.find('\n', i);
      if (i == std::string_view::npos) return 0;
      --i;
    } else if (std::string_view quote = QuoteAt(text, i); !quote.empty()) {
      const bool escapes = quote[0] == '"';
      size_t j = i + quote.size();
      while (j < text.size() && text.compare(j, quote.size(), quote) != 0) {
        if (escapes && text[j] == '\\') ++j;  // so "\"" does not end it
        if (j < text.size() && text[j] == '\n') ++line;
        ++j;
      }
      i = j + quote.size() - 1;
    } else if (static_cast<unsigned char>(text[i]) >= 0x80) {
      return line;
    }
  }
  return 0;
}

}  // namespace pixvane::maker
