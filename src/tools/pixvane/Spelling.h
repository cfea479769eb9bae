#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace pixvane::tool {

// How many letters must change (be replaced, added or left out) to turn a
// into b.
size_t EditDistance(std::string_view a, std::string_view b);

// Where in names the words a misspelt word most likely meant stand, in
// order: all those at the smallest distance from word (ignoring ASCII case),
// as long as that is at most two letters, or a third of a long word, so
// "sohw" finds "show" but "foo" finds nothing. Empty when none is that close.
std::vector<size_t> ClosestIndexes(std::string_view word, const std::vector<std::string>& names);

// The names a misspelt word most likely meant (as ClosestIndexes), each once.
std::vector<std::string> ClosestNames(std::string_view word, const std::vector<std::string>& names);

// "\"a\"", "\"a\" or \"b\"", "\"a\", \"b\" or \"c\"": the names as a
// sentence offers them.
std::string QuotedChoices(const std::vector<std::string>& names);

}  // namespace pixvane::tool
