#pragma once
#include <string>
#include <string_view>
#include <utility>

namespace pixvane {

// Texts of the package are 8-bit text in the Windows-1252 code page, the
// code page of the systems packages are made for. Texts stored as UTF-8 or
// UTF-16 are brought into it; a character the code page lacks becomes "?",
// as does a malformed sequence.
std::string Utf8ToAnsi(std::string_view utf8);
std::string Utf16ToAnsi(std::u16string_view utf16);
std::string AnsiToUtf8(std::string_view ansi);
// The character one Windows-1252 byte stands for.
char32_t AnsiToCodePoint(unsigned char b);

// Decodes one UTF-8 character at text[i], advancing i; returns U+FFFD for a
// malformed, overlong or surrogate sequence (and advances past one byte).
char32_t NextUtf8(std::string_view text, size_t& i);
// Appends the UTF-8 bytes of code point c (at most U+10FFFF).
void PutUtf8(std::string& out, char32_t c);

// True when every byte is 7-bit ASCII.
bool IsAscii(std::string_view text);

// True when every character of the UTF-8 text has a Windows-1252 byte, so
// Utf8ToAnsi loses nothing.
bool FitsAnsi(std::string_view utf8);
// UTF-16 to UTF-8 and back; an unpaired surrogate or a malformed sequence
// becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);
std::u16string Utf8ToUtf16(std::string_view utf8);
// The UTF-8 text with every malformed sequence replaced by U+FFFD.
std::string ValidUtf8(std::string_view utf8);

// A text of the package as it is kept: 8-bit bytes, read and drawn in the
// code page as they always were, or UTF-8 where the text holds characters
// the code page lacks.
struct TStoredText {
  std::string Bytes;
  bool Utf8 = false;

  TStoredText() = default;
  TStoredText(std::string bytes, bool utf8 = false) : Bytes(std::move(bytes)), Utf8(utf8) {}
  TStoredText(const char* bytes, bool utf8 = false) : Bytes(bytes), Utf8(utf8) {}
  // The manifest's UTF-8 kept the way the package stores it: in the code
  // page when it fits, as UTF-8 otherwise.
  static TStoredText FromUtf8(std::string_view utf8);

  bool Empty() const { return Bytes.empty(); }
  std::string ToUtf8() const { return Utf8 ? Bytes : AnsiToUtf8(Bytes); }
  bool operator==(const TStoredText&) const = default;
};

}  // namespace pixvane
