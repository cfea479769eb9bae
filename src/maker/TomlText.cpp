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
  char last = '\n';  // the last character outside strings that is not a space
  for (size_t i = 0; i < text.size(); ++i) {
    const char before = last;
    if (text[i] != ' ' && text[i] != '\t') last = text[i];
    // A bracket or brace opens an array, inline table or table header only
    // where a value or a line starts; after a value ("1[") the parser is
    // still reading that value and reads on through what follows.
    if ((text[i] == '[' || text[i] == '{') &&
        std::string_view("\n=[,{").find(before) == std::string_view::npos)
      last = 'x';
    if (text[i] == '\n') {
      ++line;
    } else if (text[i] == '#') {  // a comment, to the end of its line
      i = text.find('\n', i);
      if (i == std::string_view::npos) return 0;
      --i;
    } else if (std::string_view quote = QuoteAt(text, i);
               !quote.empty() &&
               std::string_view("\n=[,{.").find(before) != std::string_view::npos) {
      // A string only where a key or value may start: in "0\"...\"" the
      // parser reads on through the quote.
      const bool escapes = quote[0] == '"';
      size_t j = i + quote.size();
      while (j < text.size() && text.compare(j, quote.size(), quote) != 0) {
        if (escapes && text[j] == '\\') ++j;  // so "\"" does not end it
        if (j < text.size() && text[j] == '\n') ++line;
        ++j;
      }
      i = j + quote.size() - 1;
      last = '"';
    } else if (static_cast<unsigned char>(text[i]) >= 0x80) {
      return line;
    }
  }
  return 0;
}

}  // namespace pixvane::maker
