#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pixvane {

// The profile functions hand us values through a buffer of 2048 characters,
// so a value is at most this long; the rest of a longer line is dropped.
inline constexpr size_t MaxIniValueLength = 2047;

// The text of an INI file read the way the platform's profile functions read
// it: "[Section]" lines open sections (the name is what lies between "[" and
// the last "]", trimmed), "key=value" lines follow, section and key names
// match without regard to ASCII case, blanks around names and values are
// trimmed, a value wrapped in matching double or single quotes loses them,
// and lines starting with ";" are comments. Only the first matching section
// and, in it, the first matching key count. Lines end with CR LF, LF or CR; a
// UTF-8 byte-order mark in front of the first line is ignored.
//
// The value of key in section, or nothing when the section or the key is
// missing. A key line without "=" has no value.
std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// The text with key in section set to value. Everything else stays exactly as
// it was: an existing key keeps its line, spelling and blanks and only its
// value changes; a new key goes after the last non-blank line of its section;
// a missing section is added at the end of the text. New lines end the way
// the text's first line ends (CR LF for a text without line ends). Section,
// key and value are plain: no line breaks, no blanks around them, no "]" in
// the section and no "=" in the key.
std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace pixvane
