#pragma once
#include <string>
#include <string_view>

namespace pixvane {

// Letter case as the system's names know it: the 26 ASCII letters only.
// Property and class names, INI sections and keys, command-line switches and
// file names that must differ in more than case are all compared this way,
// never through the C library's locale; bytes from 128 up are never letters
// here, whatever the code page.
constexpr char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string AsciiLowerCase(std::string_view text);
std::string AsciiUpperCase(std::string_view text);

// True when a and b differ at most in the case of ASCII letters.
bool SameText(std::string_view a, std::string_view b);

}  // namespace pixvane
