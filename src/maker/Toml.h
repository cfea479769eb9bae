#pragma once
// toml++, with the checks its parser makes of its own state turned into a
// refusal of the text. toml++ 3.3 states some of them as assertions that
// text can break (a table header such as "[=]" or "[é]"): with NDEBUG they
// become assumptions the optimizer builds on, so such a manifest would be
// undefined behaviour, and without NDEBUG they abort the tool. Every file
// of ours includes toml++ through this header, so all share one definition.
#include "maker/ToolError.h"

namespace pixvane::maker {

[[noreturn]] inline void TomlTextRefused() {
  throw EToolError("the text is not TOML the tool can read");
}

}  // namespace pixvane::maker

#define TOML_ASSERT(expr) ((expr) ? static_cast<void>(0) : ::pixvane::maker::TomlTextRefused())
#ifdef NDEBUG
#define PIXVANE_TOML_NDEBUG
#undef NDEBUG  // so toml++ takes its assumptions as TOML_ASSERT above
#endif
#include <toml++/toml.h>
#ifdef PIXVANE_TOML_NDEBUG
#define NDEBUG
#undef PIXVANE_TOML_NDEBUG
#endif
