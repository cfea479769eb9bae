#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace pixvane::maker {

// The running tool's own executable; empty when the platform cannot say.
std::filesystem::path ExecutablePath();

// True when standard error is a terminal, where a progress line that
// rewrites itself makes sense; redirected output gets none.
bool StderrIsTerminal();

// The command line as UTF-8, the tool's one encoding of text. Windows hands
// main its arguments in the ANSI code page, which lacks most of the names a
// maker may use, so there they come from the wide command line instead.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Makes the console show the UTF-8 text the tool prints, until the tool
// exits (Windows; elsewhere terminals take UTF-8 already).
void UseUtf8Console();

}  // namespace pixvane::maker
