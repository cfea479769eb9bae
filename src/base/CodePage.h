#pragma once
#include <string>
#include <string_view>

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

}  // namespace pixvane
