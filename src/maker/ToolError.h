#pragma once
#include <filesystem>
#include <stdexcept>
#include <string>

namespace pixvane::maker {

// A failure the user can fix: bad input, a missing file, a file that holds no
// package. The text is complete without the "pixvane: " that main puts in
// front; callers never need to add context to it.
class EToolError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "FILE: problem", or "FILE:LINE: problem" when a line is known (line > 0),
// the form compilers use, so editors can jump to the spot.
std::string Located(const std::filesystem::path& file, int line, const std::string& problem);

// Paths in and out of text. TOML and the package's UTF-8 views are UTF-8;
// std::filesystem would read a plain std::string in the ANSI code page on
// Windows, so every conversion goes through these two.
std::filesystem::path PathFromUtf8(const std::string& text);
std::string Utf8FromPath(const std::filesystem::path& path);

// The path as messages show it: UTF-8 on every system (the Windows console
// is switched to UTF-8 at start). Files are opened by the path itself.
std::string PathForMessage(const std::filesystem::path& path);

}  // namespace pixvane::maker
