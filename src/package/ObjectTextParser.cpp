#include "package/ObjectText.h"

#include <charconv>

#include "base/AsciiText.h"
#include "base/CodePage.h"
#include "base/Errors.h"
#include "base/Stream.h"
#include "package/ExtendedFloat.h"
#include "package/ObjectStream.h"
#include "package/ObjectTextRules.h"

namespace pixvane {
namespace {

using namespace object_text;

// Reads the text form token by token; line breaks matter only for counting
// lines, so hand-written text may wrap values as it likes.
class TTextParser {
 public:
  explicit TTextParser(std::string_view text) : FText(text) {}

  std::string Convert() {
    // Editors on Windows often start a UTF-8 file with a byte order mark.
    if (FText.substr(0, 3) == "\xEF\xBB\xBF") FPos = 3;
    FOut = "TPF0";
    Object(0);
    SkipSpace();
    if (!AtEnd()) Fail("text after the object's end");
    return std::move(FOut);
  }

 private:
  [[noreturn]] void FailAt(int line, const std::string& what) const {
    throw EReadError("Line " + std::to_string(line) + ": " + what);
  }
  [[noreturn]] void Fail(const std::string& what) const { FailAt(FLine, what); }

  bool AtEnd() const { return FPos >= FText.size(); }
  char Next() const { return AtEnd() ? '\0' : FText[FPos]; }
  void SkipSpace() {
    for (; !AtEnd(); ++FPos) {
      char c = FText[FPos];
      if (c == '\n') ++FLine;
      if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return;
    }
  }
  // Skips blanks and takes c if it comes next.
  bool Take(char c) {
    SkipSpace();
    if (Next() != c) return false;
    ++FPos;
    return true;
  }
  void Expect(char c, const char* what) {
    if (!Take(c)) Fail(what);
  }
  // A name, or "" when none starts here.
  std::string_view Word(bool dotted) {
    SkipSpace();
    size_t start = FPos;
    while (IsNameStart(Next())) {
      while (IsNameChar(Next())) ++FPos;
      if (!dotted || Next() != '.' || FPos + 1 >= FText.size() || !IsNameStart(FText[FPos + 1]))
        break;
      ++FPos;
    }
    return FText.substr(start, FPos - start);
  }

  void Byte(uint8_t b) { FOut += static_cast<char>(b); }
  void Type(TValueType type) { Byte(static_cast<uint8_t>(type)); }
  template <typename T>
  void Scalar(T value) {
    FOut.append(reinterpret_cast<const char*>(&value), sizeof value);
  }
  void ShortString(std::string_view text) {
    if (text.size() > 255) Fail("a name longer than 255 characters");
    Byte(static_cast<uint8_t>(text.size()));
    FOut += text;
  }
  void LongBytes(TValueType type, const std::string& bytes) {
    if (bytes.size() > UINT32_MAX) Fail("a value longer than 4 GB");
    Type(type);
    Scalar(static_cast<uint32_t>(bytes.size()));
    FOut += bytes;
  }
  void Integer(int64_t value) {
    if (value >= INT8_MIN && value <= INT8_MAX) {
      Type(TValueType::Int8);
      Scalar(static_cast<int8_t>(value));
    } else if (value >= INT16_MIN && value <= INT16_MAX) {
      Type(TValueType::Int16);
      Scalar(static_cast<int16_t>(value));
    } else if (value >= INT32_MIN && value <= INT32_MAX) {
      Type(TValueType::Int32);
      Scalar(static_cast<int32_t>(value));
    } else {
      Type(TValueType::Int64);
      Scalar(value);
    }
  }
  // "[n]" after an object's class or a collection item, if present.
  bool Position(int64_t& position) {
    if (!Take('[')) return false;
    SkipSpace();
    std::string_view token = NumberToken();
    if (!ParseInteger(token, position) || position < INT32_MIN || position > INT32_MAX)
      Fail("expected a position from -2147483648 to 2147483647");
    Expect(']', "expected ']' after the position");
    return true;
  }

  void Object(int depth);
  void Properties(int depth, bool object);
  void Value(int depth);
  void List(int depth);
  void Collection(int depth);
  std::string_view NumberToken();
  bool ParseInteger(std::string_view token, int64_t& value) const;
  void Number();
  void Currency(std::string_view token);
  void Text();
  void Hex();
  void Set();

  std::string_view FText;
  size_t FPos = 0;
  int FLine = 1;
  std::string FOut;
};

void TTextParser::Object(int depth) {
  if (depth > MaxDepth) Fail("objects nested more than 64 deep");
  std::string_view keyword = Word(false);
  int flags = SameText(keyword, "inherited") ? Inherited : SameText(keyword, "inline") ? Inline : 0;
  if (!flags && !SameText(keyword, "object")) Fail("expected 'object'");
  std::string_view objectName, className = Word(false);
  int classLine = FLine;
  if (className.empty()) Fail("expected the object's name or class");
  if (Take(':')) {
    objectName = className;
    className = Word(false);
    classLine = FLine;
    if (className.empty()) Fail("expected the class name after ':'");
  }
  // A length byte from F0 hex up would read as a prefix.
  if (className.size() >= 0xF0) FailAt(classLine, "a class name longer than 239 characters");
  int64_t position = 0;
  if (Position(position)) flags |= ChildPosition;
  if (flags) Byte(static_cast<uint8_t>(0xF0 | flags));
  if (flags & ChildPosition) Integer(position);
  ShortString(className);
  ShortString(objectName);
  Properties(depth, true);
}

// Properties up to "end"; for an object, child objects after them.
void TTextParser::Properties(int depth, bool object) {
  bool children = false;
  for (;;) {
    SkipSpace();
    size_t start = FPos;
    int line = FLine;
    std::string_view name = Word(true);
    if (name.empty()) Fail(AtEnd() ? "expected 'end'" : "expected a property name or 'end'");
    // Errors name the line of the property's name, before the blanks that
    // looking for "=" passed.
    if (Take('=')) {
      if (children) FailAt(line, "a property after a child object");
      ShortString(name);
      Value(depth);
      continue;
    }
    if (!children) Byte(0);  // the end of the properties
    if (SameText(name, "end")) break;
    bool isObject =
        SameText(name, "object") || SameText(name, "inherited") || SameText(name, "inline");
    if (!object || !isObject) FailAt(line, "expected '=' after the property name");
    children = true;
    FPos = start;
    FLine = line;
    Object(depth + 1);
  }
  if (object) Byte(0);  // the end of the children
}

void TTextParser::Value(int depth) {
  if (depth > MaxDepth) Fail("values nested more than 64 deep");
  SkipSpace();
  char c = Next();
  if (c == '\'' || c == '#') return Text();
  if (c == '-' || (c >= '0' && c <= '9')) return Number();
  if (c == '{') return Hex();
  if (c == '[') return Set();
  if (c == '(') return List(depth + 1);
  if (c == '<') return Collection(depth + 1);
  std::string_view word = Word(true);
  if (word.empty()) Fail("expected a value");
  if (word == "True") return Type(TValueType::True);
  if (word == "False") return Type(TValueType::False);
  if (word == "nil") return Type(TValueType::Nil);
  if (word == "Null") return Type(TValueType::Null);
  Type(TValueType::Ident);
  ShortString(word);
}

void TTextParser::List(int depth) {
  ++FPos;
  Type(TValueType::List);
  while (!Take(')')) {
    if (AtEnd()) Fail("expected ')' at the end of the list");
    size_t start = FOut.size();
    Value(depth);
    // Its type byte, zero, is the one that ends a list.
    if (FOut[start] == static_cast<char>(TValueType::Null)) Fail("Null in a list");
  }
  Byte(0);
}

void TTextParser::Collection(int depth) {
  ++FPos;
  Type(TValueType::Collection);
  while (!Take('>')) {
    if (!SameText(Word(false), "item")) Fail("expected 'item' or '>'");
    int64_t order;
    if (Position(order)) Integer(order);
    Type(TValueType::List);
    Properties(depth, false);
  }
  Byte(0);
}

// "-", digits, then an optional fraction, exponent and type letter.
std::string_view TTextParser::NumberToken() {
  size_t start = FPos;
  auto digits = [&] {
    while (Next() >= '0' && Next() <= '9') ++FPos;
  };
  if (Next() == '-') ++FPos;
  digits();
  if (Next() == '.') {
    ++FPos;
    digits();
  }
  if (Next() == 'e' || Next() == 'E') {
    ++FPos;
    if (Next() == '+' || Next() == '-') ++FPos;
    digits();
  }
  if (Next() == 's' || Next() == 'd' || Next() == 'c') ++FPos;
  if (IsNameChar(Next()) || Next() == '.') Fail("a malformed number");
  return FText.substr(start, FPos - start);
}

bool TTextParser::ParseInteger(std::string_view token, int64_t& value) const {
  auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  if (error == std::errc::result_out_of_range) Fail("an integer out of range");
  return error == std::errc() && end == token.data() + token.size();
}

void TTextParser::Number() {
  std::string_view token = NumberToken();
  char suffix = token.back();
  if (suffix == 'c') return Currency(token.substr(0, token.size() - 1));
  bool typed = suffix == 's' || suffix == 'd';
  std::string_view digits = typed ? token.substr(0, token.size() - 1) : token;
  int64_t integer;
  if (!typed && digits.find_first_of(".eE") == std::string_view::npos) {
    if (!ParseInteger(digits, integer)) Fail("a malformed number");
    return Integer(integer);
  }
  const char* first = digits.data();
  const char* last = first + digits.size();
  std::from_chars_result result;
  if (suffix == 's') {
    float single;
    result = std::from_chars(first, last, single);
    Type(TValueType::Single);
    Scalar(single);
  } else {
    double value;
    result = std::from_chars(first, last, value);
    if (suffix == 'd') {
      Type(TValueType::Date);
      Scalar(value);
    } else {
      uint8_t bytes[10];
      DoubleToExtended(value, bytes);
      Type(TValueType::Extended);
      FOut.append(reinterpret_cast<const char*>(bytes), 10);
    }
  }
  if (result.ec == std::errc::result_out_of_range) Fail("a number out of range");
  if (result.ec != std::errc() || result.ptr != last) Fail("a malformed number");
}

// Ten-thousandths, exactly: digits, then at most four after the point.
void TTextParser::Currency(std::string_view token) {
  bool negative = !token.empty() && token[0] == '-';
  if (negative) token.remove_prefix(1);
  size_t point = token.find('.');
  std::string_view whole = token.substr(0, point);
  std::string_view fraction = point == std::string_view::npos ? "" : token.substr(point + 1);
  bool digitsOnly = token.find_first_of("eE") == std::string_view::npos;
  if (whole.empty() || fraction.size() > 4 || !digitsOnly)
    Fail("expected a currency amount with at most four decimals");
  uint64_t magnitude = 0;
  std::string scaled =
      std::string(whole) + std::string(fraction) + std::string(4 - fraction.size(), '0');
  for (char d : scaled) {
    if (magnitude > (uint64_t{1} << 63) / 10) Fail("a number out of range");
    magnitude = magnitude * 10 + static_cast<uint64_t>(d - '0');
  }
  if (magnitude > (uint64_t{1} << 63) - (negative ? 0 : 1)) Fail("a number out of range");
  Type(TValueType::Currency);
  Scalar(static_cast<int64_t>(negative ? 0 - magnitude : magnitude));
}

// Quoted runs and #n codes, side by side with nothing between them.
void TTextParser::Text() {
  std::u32string characters;
  bool unicode = false;
  for (;;) {
    if (Next() == '#') {
      ++FPos;
      size_t start = FPos;
      uint32_t code = 0;
      while (Next() >= '0' && Next() <= '9' && code <= 0x10FFFF)
        code = code * 10 + static_cast<uint32_t>(FText[FPos++] - '0');
      if (FPos == start) Fail("expected a character code after '#'");
      if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        Fail("a character code out of range");
      unicode |= code > 255;
      characters += static_cast<char32_t>(code);
    } else if (Next() == '\'') {
      for (++FPos;; ++FPos) {
        char c = Next();
        if (AtEnd() || c == '\r' || c == '\n') Fail("a text not closed on its line");
        if (c == '\'' && (FPos + 1 >= FText.size() || FText[FPos + 1] != '\'')) break;
        if (c == '\'') ++FPos;  // a doubled quote
        if (static_cast<unsigned char>(c) < 0x80) {
          characters += static_cast<char32_t>(c);
          continue;
        }
        size_t start = FPos;
        char32_t decoded = NextUtf8(FText, FPos);
        if (decoded == 0xFFFD && FPos == start + 1) Fail("a text that is not valid UTF-8");
        characters += decoded;
        unicode = true;
        --FPos;
      }
      ++FPos;
    } else {
      break;
    }
  }
  if (unicode) {
    std::string utf8;
    for (char32_t c : characters) PutUtf8(utf8, c);
    return LongBytes(TValueType::Utf8Text, utf8);
  }
  std::string bytes(characters.begin(), characters.end());
  if (bytes.size() > 255) return LongBytes(TValueType::LongText, bytes);
  Type(TValueType::ShortText);
  ShortString(bytes);
}

void TTextParser::Hex() {
  ++FPos;
  std::string bytes;
  int high = -1;
  for (;;) {
    SkipSpace();
    char c = Next();
    if (c == '}') break;
    int digit = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                       : -1;
    if (digit < 0) Fail("expected hexadecimal digits or '}'");
    ++FPos;
    if (high < 0) {
      high = digit;
    } else {
      bytes += static_cast<char>(high << 4 | digit);
      high = -1;
    }
  }
  if (high >= 0) Fail("an odd number of hexadecimal digits");
  ++FPos;
  LongBytes(TValueType::Binary, bytes);
}

void TTextParser::Set() {
  ++FPos;
  Type(TValueType::Set);
  if (!Take(']')) {
    do {
      std::string_view name = Word(false);
      if (name.empty()) Fail("expected a name in the set");
      ShortString(name);
    } while (Take(','));
    Expect(']', "expected ',' or ']' in the set");
  }
  ShortString("");
}

}  // namespace

void ObjectTextToBinary(TStream& text, TStream& binary) {
  std::string source(static_cast<size_t>(text.Remaining()), '\0');
  text.ReadBuffer(source.data(), source.size());
  std::string converted = TTextParser(source).Convert();
  binary.Write(converted.data(), converted.size());
}

std::string ObjectTextToBinary(std::string_view text) {
  return TTextParser(text).Convert();
}

}  // namespace pixvane
