#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace pixvane::maker {

// How many letters must change (be replaced, added or left out) to turn a
// into b.
size_t EditDistance(std::string_view a, std::string_view b);

// How many letters a misspelt word may be off from a name that is still
// offered for it: two, or a third of a long word, so "sohw" finds "show"
// but "foo" finds nothing.
size_t SpellingReach(std::string_view word);

// The names a misspelt word most likely meant: all those at the smallest
// distance from word (ignoring ASCII case) within its reach, each once, in
// the order given. Empty when none is that close.
std::vector<std::string> ClosestNames(std::string_view word, const std::vector<std::string>& names);

// "\"a\"", "\"a\" or \"b\"", "\"a\", \"b\" or \"c\"": the names as a
// sentence offers them.
std::string QuotedChoices(const std::vector<std::string>& names);

}  // namespace pixvane::maker
