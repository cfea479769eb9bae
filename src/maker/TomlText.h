#pragma once
#include <string_view>

namespace pixvane::maker {

// The line (from 1) of the first character outside ASCII that stands
// outside a string or comment of TOML text, or 0 when there is none. TOML
// keys and values hold such characters only in quotes, and toml++ 3.3
// reaches undefined behaviour looking at one elsewhere, so such text is
// refused before it is parsed.
int LineOfStrayNonAscii(std::string_view text);

}  // namespace pixvane::maker
