#pragma once
#include <string>

namespace pixvane::maker {

// Edits of XScreenSaver's preferences file (~/.xscreensaver) as its
// settings program writes it: one "name: value" resource a line; the
// "programs:" value runs on over lines that end in a backslash, one saver a
// line, each ended by a literal backslash-n; "selected:" is the 0-based
// index of the chosen saver among the non-empty entries, used when "mode:"
// is "one". Every line the edit is not about is kept byte for byte.

// One saver's entry. Key is text that only this saver's command holds (its
// installed path), by which an earlier entry for it is found.
struct TXScreenSaverEntry {
  std::string Name;
  std::string Command;
  std::string Key;
};

struct TPrefsEdit {
  std::string Text;
  int Index = -1;  // the entry's 0-based index in the list; -1 when it was not there
};

// The text with the entry added at the end of the list, or its earlier
// entry replaced where it stands (never a second one); select makes it the
// selected saver in mode "one". A "selected:" behind the new entry moves
// with the saver it names. Fails with EToolError when the file has no
// "programs:" list in the form XScreenSaver writes.
TPrefsEdit WithProgram(const std::string& prefs, const TXScreenSaverEntry& entry, bool select);

// The text without the entry holding key (Index: where it was). A
// "selected:" behind it keeps naming the same saver; one that named it
// goes back to -1, and mode "one" back to "random".
TPrefsEdit WithoutProgram(const std::string& prefs, const std::string& key);

// The entry's line as XScreenSaver reads it: the name in double quotes,
// the command, the backslash-n and the backslash.
std::string EntryLine(const TXScreenSaverEntry& entry);

}  // namespace pixvane::maker
