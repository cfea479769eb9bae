#include "setup/IniText.h"

#include <cassert>
#include <vector>

#include "base/AsciiText.h"

namespace pixvane {
namespace {

// The profile functions count tab, LF, VT, FF, CR, space and ^Z (the DOS end
// of file some old editors leave behind) as blanks.
bool IsIniBlank(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return (u >= 0x09 && u <= 0x0d) || u == 0x1a || u == 0x20;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsIniBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsIniBlank(s.back())) s.remove_suffix(1);
  return s;
}

[[maybe_unused]] bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// Offsets into the text, so an edit can splice exactly the part it changes.
struct TIniLine {
  size_t End = 0;   // end of the line's characters, where its line end begins
  size_t Next = 0;  // start of the following line
  // The line with its surrounding blanks trimmed, as Begin .. Finish.
  size_t Begin = 0;
  size_t Finish = 0;
  enum { Blank, Comment, Section, Entry } Kind = Blank;
  std::string_view Name;  // section or key name, trimmed
  bool HasValue = false;  // an entry with "="
  size_t ValueBegin = 0;  // the trimmed value of an entry with "="
  size_t NameFinish = 0;  // end of an entry's trimmed name
};

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

TIniLine ParseLine(std::string_view text, size_t start, size_t end, size_t next) {
  TIniLine line;
  line.End = end;
  line.Next = next;
  size_t b = start, f = end;
  while (b < f && IsIniBlank(text[b])) ++b;
  while (f > b && IsIniBlank(text[f - 1])) --f;
  line.Begin = b;
  line.Finish = f;
  if (b == f) return line;

  std::string_view body = text.substr(b, f - b);
  if (body[0] == ';') {
    line.Kind = TIniLine::Comment;
    return line;
  }
  if (body[0] == '[') {
    // "[Setup] ; note" is still section Setup: the name runs to the last "]".
    // A "[" without any "]" is not a header, and the line reads as an entry.
    size_t close = body.rfind(']');
    if (close != std::string_view::npos) {
      line.Kind = TIniLine::Section;
      line.Name = TrimBlanks(body.substr(1, close - 1));
      return line;
    }
  }
  line.Kind = TIniLine::Entry;
  size_t eq = body.find('=');
  size_t nameFinish = eq == std::string_view::npos ? f : b + eq;
  while (nameFinish > b && IsIniBlank(text[nameFinish - 1])) --nameFinish;
  line.NameFinish = nameFinish;
  line.Name = text.substr(b, nameFinish - b);
  if (eq != std::string_view::npos) {
    line.HasValue = true;
    size_t v = b + eq + 1;
    while (v < f && IsIniBlank(text[v])) ++v;
    line.ValueBegin = v;
  }
  return line;
}

std::vector<TIniLine> SplitLines(std::string_view text) {
  std::vector<TIniLine> lines;
  size_t pos = text.substr(0, Utf8Bom.size()) == Utf8Bom ? Utf8Bom.size() : 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    size_t next;
    if (end == std::string_view::npos) {
      end = next = text.size();
    } else {
      next = end + 1;
      if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
    }
    lines.push_back(ParseLine(text, pos, end, next));
    pos = next;
  }
  return lines;
}

struct TKeyPlace {
  bool SectionFound = false;
  size_t LastLine = 0;  // the last non-blank line of the section (its header at least)
  bool KeyFound = false;
  size_t KeyLine = 0;
};

TKeyPlace Locate(const std::vector<TIniLine>& lines, std::string_view section,
                 std::string_view key) {
  TKeyPlace place;
  size_t i = 0;
  while (i < lines.size() &&
         !(lines[i].Kind == TIniLine::Section && SameText(lines[i].Name, section)))
    ++i;
  if (i == lines.size()) return place;
  place.SectionFound = true;
  place.LastLine = i;
  // Only the first section of the name counts, as with the profile functions;
  // a later duplicate is never read or written.
  for (++i; i < lines.size() && lines[i].Kind != TIniLine::Section; ++i) {
    if (lines[i].Kind == TIniLine::Blank) continue;
    place.LastLine = i;
    if (!place.KeyFound && lines[i].Kind == TIniLine::Entry && SameText(lines[i].Name, key)) {
      place.KeyFound = true;
      place.KeyLine = i;
    }
  }
  return place;
}

std::string_view LineEndOf(std::string_view text, const std::vector<TIniLine>& lines) {
  for (const TIniLine& line : lines)
    if (line.Next > line.End) return text.substr(line.End, line.Next - line.End);
  return "\r\n";
}

}  // namespace

std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key) {
  std::vector<TIniLine> lines = SplitLines(text);
  TKeyPlace place = Locate(lines, TrimBlanks(section), TrimBlanks(key));
  if (!place.KeyFound || !lines[place.KeyLine].HasValue) return std::nullopt;
  const TIniLine& line = lines[place.KeyLine];
  std::string_view value = text.substr(line.ValueBegin, line.Finish - line.ValueBegin);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::string(value.substr(0, MaxIniValueLength));
}

std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value) {
  assert(!section.empty() && section == TrimBlanks(section) && !HasLineBreak(section) &&
         section.find(']') == std::string_view::npos);
  assert(!key.empty() && key == TrimBlanks(key) && !HasLineBreak(key) &&
         key.find('=') == std::string_view::npos && key[0] != ';' && key[0] != '[');
  assert(value == TrimBlanks(value) && !HasLineBreak(value));

  std::vector<TIniLine> lines = SplitLines(text);
  std::string_view eol = LineEndOf(text, lines);
  TKeyPlace place = Locate(lines, section, key);
  std::string out;
  out.reserve(text.size() + section.size() + key.size() + value.size() + 8);

  if (place.KeyFound) {
    // Only the value changes; the user's spelling, indentation and spacing stay.
    const TIniLine& line = lines[place.KeyLine];
    if (line.HasValue)
      out.append(text.substr(0, line.ValueBegin)).append(value);
    else  // a bare "mute" line: its name ends where the trimmed line does
      out.append(text.substr(0, line.NameFinish)).append("=").append(value);
    out.append(text.substr(line.Finish));
    return out;
  }

  std::string entry = std::string(key) + "=" + std::string(value);
  if (place.SectionFound) {
    const TIniLine& last = lines[place.LastLine];
    if (last.Next > last.End) {
      out.append(text.substr(0, last.Next)).append(entry).append(eol);
    } else {
      out.append(text).append(eol).append(entry).append(eol);  // the section ends the text
    }
    out.append(text.substr(last.Next));
    return out;
  }

  out.append(text);
  if (!lines.empty() && lines.back().Next == lines.back().End) out.append(eol);
  out.append("[").append(section).append("]").append(eol).append(entry).append(eol);
  return out;
}

}  // namespace pixvane
