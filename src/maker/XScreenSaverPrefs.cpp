#include "maker/XScreenSaverPrefs.h"

#include <optional>
#include <vector>

#include "maker/ToolError.h"

namespace pixvane::maker {
namespace {

// The file as its lines, each with its own line ending (the last may have
// none), so joining them gives back the very same bytes.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    lines.push_back(text.substr(start, end - start));
    start = end;
  }
  return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line;
  return text;
}

std::string WithoutEnding(const std::string& line) {
  size_t end = line.size();
  while (end > 0 && (line[end - 1] == '\n' || line[end - 1] == '\r')) --end;
  return line.substr(0, end);
}

bool Continues(const std::string& line) {
  const std::string text = WithoutEnding(line);
  return !text.empty() && text.back() == '\\';
}

bool Blank(const std::string& text) {
  return text.find_first_not_of(" \t") == std::string::npos;
}

bool StartsWith(const std::string& line, const std::string& name) {
  return line.compare(0, name.size(), name) == 0;
}

// The "programs:" value's lines: from its first line to the first that does
// not continue (the list's end, blank as XScreenSaver writes it).
struct TProgramsBlock {
  size_t First = 0, Last = 0;
};

std::optional<TProgramsBlock> FindPrograms(const std::vector<std::string>& lines) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!StartsWith(lines[i], "programs:")) continue;
    size_t last = i;
    while (last + 1 < lines.size() && Continues(lines[last])) ++last;
    return TProgramsBlock{i, last};
  }
  return std::nullopt;
}

// The value's text in lines [block.First, end): continuation backslashes
// and line ends taken out, as XScreenSaver joins them.
std::string ValueBefore(const std::vector<std::string>& lines, const TProgramsBlock& block,
                        size_t end) {
  std::string value;
  for (size_t i = block.First; i < end; ++i) {
    std::string text = WithoutEnding(lines[i]);
    if (i == block.First) text.erase(0, std::string("programs:").size());
    if (!text.empty() && text.back() == '\\') text.pop_back();
    value += text;
  }
  return value;
}

// How many entries end before line `end`, and whether what follows the
// last of them is only blanks (so a whole entry may begin there).
struct TEntriesBefore {
  int Count = 0;
  bool AtBoundary = true;
};

TEntriesBefore EntriesBefore(const std::vector<std::string>& lines, const TProgramsBlock& block,
                             size_t end) {
  const std::string value = ValueBefore(lines, block, end);
  TEntriesBefore before;
  size_t start = 0;
  for (size_t found; (found = value.find("\\n", start)) != std::string::npos; start = found + 2)
    if (!Blank(value.substr(start, found - start))) ++before.Count;
  before.AtBoundary = Blank(value.substr(start));
  return before;
}

std::optional<size_t> FindEntry(const std::vector<std::string>& lines, const TProgramsBlock& block,
                                const std::string& key) {
  for (size_t i = block.First + 1; i <= block.Last; ++i)
    if (lines[i].find(key) != std::string::npos) return i;
  return std::nullopt;
}

// A "name: value" line, found and rewritten in XScreenSaver's own form.
struct TResource {
  std::vector<std::string>& Lines;
  std::optional<size_t> Find(const std::string& name) const {
    for (size_t i = 0; i < Lines.size(); ++i)
      if (StartsWith(Lines[i], name + ":")) return i;
    return std::nullopt;
  }
  std::string Value(const std::string& name) const {
    auto at = Find(name);
    if (!at) return {};
    std::string text = WithoutEnding(Lines[*at]).substr(name.size() + 1);
    const size_t start = text.find_first_not_of(" \t");
    return start == std::string::npos ? std::string() : text.substr(start);
  }
  int Selected() const {
    try {
      return std::stoi(Value("selected"));
    } catch (const std::exception&) {
      return -1;
    }
  }
  // Rewrites the line only when its value changes, so an equal one stays
  // byte for byte; a missing resource is added at the end.
  void Set(const std::string& name, const std::string& tabs, const std::string& value) {
    if (Value(name) == value && Find(name)) return;
    const std::string line = name + ":" + tabs + value + "\n";
    if (auto at = Find(name)) {
      Lines[*at] = line;
    } else {
      if (!Lines.empty() && Lines.back().back() != '\n') Lines.back() += "\n";
      Lines.push_back(line);
    }
  }
  void SetSelected(int index) { Set("selected", "\t", std::to_string(index)); }
};

EToolError NotInXScreenSaversForm() {
  return EToolError(
      "~/.xscreensaver has no programs: list in the form XScreenSaver writes; "
      "add the saver's line by hand (see the README) or let xscreensaver-settings write the file "
      "again");
}

}  // namespace

std::string EntryLine(const TXScreenSaverEntry& entry) {
  return "  \"" + entry.Name + "\"  " + entry.Command + " \\n\\\n";
}

TPrefsEdit WithProgram(const std::string& prefs, const TXScreenSaverEntry& entry, bool select) {
  std::vector<std::string> lines = Lines(prefs);
  const auto block = FindPrograms(lines);
  if (!block) throw NotInXScreenSaversForm();
  TResource resources{lines};
  TPrefsEdit edit;
  if (auto existing = FindEntry(lines, *block, entry.Key)) {
    edit.Index = EntriesBefore(lines, *block, *existing).Count;
    lines[*existing] = EntryLine(entry);
  } else {
    // Before the line that ends the list (blank as XScreenSaver writes it),
    // where the entries before have all ended.
    if (block->Last == block->First) throw NotInXScreenSaversForm();
    const size_t at = block->Last;
    const TEntriesBefore before = EntriesBefore(lines, *block, at);
    if (!before.AtBoundary) throw NotInXScreenSaversForm();
    edit.Index = before.Count;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), EntryLine(entry));
    const int selected = resources.Selected();
    if (selected >= edit.Index) resources.SetSelected(selected + 1);
  }
  if (select) {
    resources.Set("mode", "\t\t", "one");
    resources.SetSelected(edit.Index);
  }
  edit.Text = Joined(lines);
  return edit;
}

TPrefsEdit WithoutProgram(const std::string& prefs, const std::string& key) {
  std::vector<std::string> lines = Lines(prefs);
  const auto block = FindPrograms(lines);
  const auto existing = block ? FindEntry(lines, *block, key) : std::nullopt;
  if (!existing) return {prefs, -1};
  TResource resources{lines};
  TPrefsEdit edit;
  edit.Index = EntriesBefore(lines, *block, *existing).Count;
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*existing));
  const int selected = resources.Selected();
  if (selected == edit.Index) {
    resources.SetSelected(-1);
    if (resources.Value("mode") == "one") resources.Set("mode", "\t\t", "random");
  } else if (selected > edit.Index) {
    resources.SetSelected(selected - 1);
  }
  edit.Text = Joined(lines);
  return edit;
}

}  // namespace pixvane::maker
