#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace pixvane {

// The one integer syntax of the package (list items, trailer fields) and of
// the settings file: optional leading blanks, an optional "-" or "+", then
// decimal digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X".
// The result is a 32-bit signed value: decimal text must lie in the signed
// range; hexadecimal text may use all 32 bits ("$FFFFFFFF" is -1). Anything
// else, trailing characters included, is not an integer.
std::optional<int32_t> ParseInt(std::string_view text);

inline int32_t StrToIntDef(std::string_view text, int32_t fallback) {
  return ParseInt(text).value_or(fallback);
}

// Removes leading and trailing characters with codes 0 to 32.
std::string_view TrimControls(std::string_view text);

}  // namespace pixvane
