#pragma once
#include <cstddef>
#include <string_view>

// What the text form's writer and parser of the object stream agree on.
namespace pixvane::object_text {

// Objects, lists and collections nest; a hostile text or stream could nest
// them deep enough to exhaust the stack, so their combined depth is bounded far
// above anything a skin holds.
constexpr int MaxDepth = 64;
constexpr size_t HexRow = 32;  // bytes of binary data per line
// Flags of an object's prefix byte.
constexpr int Inherited = 1, ChildPosition = 2, Inline = 4;

constexpr bool IsNameStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
constexpr bool IsNameChar(char c) {
  return IsNameStart(c) || (c >= '0' && c <= '9');
}

// A name of the text form: letters, digits and "_", not starting with a digit;
// a dotted one joins several, as property paths and references do.
inline bool IsName(std::string_view text, bool dotted) {
  bool start = true;
  for (char c : text) {
    if (dotted && c == '.' && !start) {
      start = true;
    } else if (start ? IsNameStart(c) : IsNameChar(c)) {
      start = false;
    } else {
      return false;
    }
  }
  return !start;
}

}  // namespace pixvane::object_text
