#pragma once
#include <filesystem>

namespace pixvane::tool {

// The running tool's own executable; empty when the platform cannot say.
std::filesystem::path ExecutablePath();

// True when standard error is a terminal, where a progress line that
// rewrites itself makes sense; redirected output gets none.
bool StderrIsTerminal();

}  // namespace pixvane::tool
