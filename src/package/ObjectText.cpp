#include "package/ObjectText.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <vector>

#include "base/AsciiText.h"
#include "base/CodePage.h"
#include "base/Errors.h"
#include "base/Stream.h"
#include "package/ExtendedFloat.h"
#include "package/ObjectStream.h"

namespace pixvane {
namespace {

// Objects, lists and collections nest; a hostile text or stream could nest
// them deep enough to exhaust the stack, so their combined depth is bounded far
// above anything a skin holds.
constexpr int MaxDepth = 64;
constexpr size_t HexRow = 32;  // bytes of binary data per line
// Flags of an object's prefix byte.
constexpr int Inherited = 1, ChildPosition = 2, Inline = 4;

[[noreturn]] void InvalidValue() {
  throw EReadError("Invalid property value");
}

constexpr bool IsNameStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
constexpr bool IsNameChar(char c) {
  return IsNameStart(c) || (c >= '0' && c <= '9');
}

// A name of the text form: letters, digits and "_", not starting with a digit;
// a dotted one joins several, as property paths and references do.
bool IsName(std::string_view text, bool dotted) {
  bool start = true;
  for (char c : text) {
    if (dotted && c == '.' && !start) {
      start = true;
    } else if (start ? IsNameStart(c) : IsNameChar(c)) {
      start = false;
    } else {
      return false;
    }
  }
  return !start;
}

// The shortest digits that read back as the same value, with ".0" added when
// they would otherwise read as an integer.
std::string FloatText(double value, bool single) {
  char buffer[64];
  auto result = single ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value))
                       : std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, result.ptr);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

// A currency is a count of ten-thousandths; its text is exact.
std::string CurrencyText(int64_t value) {
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  std::string fraction = std::to_string(magnitude % 10000 + 10000).substr(1);
  while (fraction.size() > 1 && fraction.back() == '0') fraction.pop_back();
  return (value < 0 ? "-" : "") + std::to_string(magnitude / 10000) + "." + fraction + "c";
}

std::u32string BytesAsCharacters(const std::string& bytes) {
  std::u32string characters;
  for (char b : bytes) characters += static_cast<unsigned char>(b);
  return characters;
}

std::u32string DecodeUtf8(const std::string& bytes) {
  std::u32string characters;
  for (size_t i = 0; i < bytes.size();) characters += NextUtf8(bytes, i);
  return characters;
}

// UTF-16 little-endian; a lone surrogate becomes U+FFFD.
std::u32string DecodeUtf16(const std::string& bytes) {
  std::u32string characters;
  auto unit = [&](size_t i) {
    return static_cast<char32_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                 (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
  };
  size_t count = bytes.size() / 2;
  for (size_t i = 0; i < count; ++i) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && unit(i + 1) >= 0xDC00 &&
        unit(i + 1) <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    characters += c;
  }
  return characters;
}

// Walks one binary object and writes its text. Reads go straight to the
// stream: the objects converted are skin records of a few kilobytes.
class TTextWriter {
 public:
  explicit TTextWriter(TStream& binary) : FIn(binary) {}

  std::string Convert() {
    char signature[4];
    FIn.ReadBuffer(signature, 4);
    if (std::memcmp(signature, "TPF0", 4) != 0) throw EReadError("Invalid stream format");
    Object(0, 0);
    return std::move(FOut);
  }

 private:
  uint8_t Byte() { return FIn.ReadByte(); }
  uint8_t Peek() {
    uint8_t b = Byte();
    FIn.Seek(FIn.Position() - 1);
    return b;
  }
  template <typename T>
  T Scalar() {
    T value;
    FIn.ReadBuffer(&value, sizeof value);
    return value;
  }
  std::string Bytes(uint64_t count) {
    if (count > static_cast<uint64_t>(FIn.Remaining())) throw EReadError("Stream read error");
    std::string bytes(static_cast<size_t>(count), '\0');
    FIn.ReadBuffer(bytes.data(), bytes.size());
    return bytes;
  }
  std::string ShortString() { return Bytes(Byte()); }
  // A name the text form can hold: what cannot be read back is refused here
  // rather than written as text that would not parse.
  std::string Name(bool dotted) {
    std::string name = ShortString();
    if (!IsName(name, dotted)) InvalidValue();
    return name;
  }

  void StartLine(int indent) { FOut.append(static_cast<size_t>(indent), ' '); }
  void EndLine() { FOut += "\r\n"; }

  int64_t Integer(TValueType type) {
    switch (type) {
      case TValueType::Int8:
        return Scalar<int8_t>();
      case TValueType::Int16:
        return Scalar<int16_t>();
      case TValueType::Int32:
        return Scalar<int32_t>();
      default:
        InvalidValue();
    }
  }

  void Object(int indent, int depth);
  void Value(int indent, int depth);
  void Float(double value, std::string_view suffix);
  void Text(const std::u32string& characters, bool unicode);
  void Hex(const std::string& bytes, int indent);
  void List(int indent, int depth);
  void Collection(int indent, int depth);
  void Properties(int indent, int depth);

  TStream& FIn;
  std::string FOut;
};

void TTextWriter::Object(int indent, int depth) {
  if (depth > MaxDepth) throw EReadError("Invalid stream format");
  int flags = 0;
  int64_t position = 0;
  if (Peek() >= 0xF0) {
    flags = Byte() & 0x0F;
    if (flags & ChildPosition) position = Integer(static_cast<TValueType>(Byte()));
    // Inherited and inline together, and the unnamed flag 8, have no words.
    if ((flags & 8) || (flags & Inherited && flags & Inline))
      throw EReadError("Invalid stream format");
  }
  std::string className = Name(false);
  std::string objectName = ShortString();
  if (!objectName.empty() && !IsName(objectName, false)) InvalidValue();
  StartLine(indent);
  FOut += flags & Inherited ? "inherited " : flags & Inline ? "inline " : "object ";
  if (!objectName.empty()) FOut += objectName + ": ";
  FOut += className;
  if (flags & ChildPosition) FOut += " [" + std::to_string(position) + "]";
  EndLine();
  Properties(indent + 2, depth);
  while (Peek() != 0) Object(indent + 2, depth + 1);
  Byte();
  StartLine(indent);
  FOut += "end";
  EndLine();
}

void TTextWriter::Properties(int indent, int depth) {
  while (Peek() != 0) {
    std::string path = Name(true);
    StartLine(indent);
    FOut += path + " = ";
    Value(indent, depth);
    EndLine();
  }
  Byte();
}

void TTextWriter::Value(int indent, int depth) {
  if (depth > MaxDepth) InvalidValue();
  TValueType type = static_cast<TValueType>(Byte());
  switch (type) {
    case TValueType::Null:
      FOut += "Null";
      return;
    case TValueType::List:
      return List(indent, depth + 1);
    case TValueType::Int8:
    case TValueType::Int16:
    case TValueType::Int32:
      FOut += std::to_string(Integer(type));
      return;
    case TValueType::Int64:
      FOut += std::to_string(Scalar<int64_t>());
      return;
    case TValueType::Extended: {
      uint8_t bytes[10];
      FIn.ReadBuffer(bytes, 10);
      return Float(ExtendedToDouble(bytes), "");
    }
    case TValueType::Single:
      return Float(Scalar<float>(), "s");
    case TValueType::Date:
      return Float(Scalar<double>(), "d");
    case TValueType::Currency:
      FOut += CurrencyText(Scalar<int64_t>());
      return;
    case TValueType::ShortText:
      return Text(BytesAsCharacters(ShortString()), false);
    case TValueType::LongText:
      return Text(BytesAsCharacters(Bytes(Scalar<uint32_t>())), false);
    case TValueType::Utf8Text:
      return Text(DecodeUtf8(Bytes(Scalar<uint32_t>())), true);
    case TValueType::WideText:
      return Text(DecodeUtf16(Bytes(uint64_t{Scalar<uint32_t>()} * 2)), true);
    case TValueType::Ident:
      FOut += Name(true);
      return;
    case TValueType::False:
      FOut += "False";
      return;
    case TValueType::True:
      FOut += "True";
      return;
    case TValueType::Nil:
      FOut += "nil";
      return;
    case TValueType::Binary:
      return Hex(Bytes(Scalar<uint32_t>()), indent);
    case TValueType::Set: {
      FOut += '[';
      for (std::string name = ShortString(); !name.empty(); name = ShortString()) {
        if (!IsName(name, false)) InvalidValue();
        if (FOut.back() != '[') FOut += ", ";
        FOut += name;
      }
      FOut += ']';
      return;
    }
    case TValueType::Collection:
      return Collection(indent, depth + 1);
    default:
      InvalidValue();
  }
}

void TTextWriter::Float(double value, std::string_view suffix) {
  if (!std::isfinite(value)) InvalidValue();  // no text that reads back as it
  FOut += FloatText(value, suffix == "s");
  FOut += suffix;
}

void TTextWriter::Text(const std::u32string& characters, bool unicode) {
  bool quoted = false;
  for (char32_t c : characters) {
    bool literal = (c >= 32 && c < 127) || (unicode && c >= 128);
    if (literal != quoted) {
      FOut += '\'';
      quoted = literal;
    }
    if (!literal) {
      FOut += '#' + std::to_string(static_cast<uint32_t>(c));
      continue;
    }
    if (c == '\'') FOut += '\'';
    PutUtf8(FOut, c);
  }
  if (characters.empty()) FOut += "''";
  if (quoted) FOut += '\'';
}

void TTextWriter::Hex(const std::string& bytes, int indent) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  FOut += '{';
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes.size() >= HexRow && i % HexRow == 0) {
      EndLine();
      StartLine(indent + 2);
    }
    uint8_t b = static_cast<uint8_t>(bytes[i]);
    FOut += Digits[b >> 4];
    FOut += Digits[b & 15];
  }
  FOut += '}';
}

void TTextWriter::List(int indent, int depth) {
  FOut += '(';
  while (Peek() != 0) {
    EndLine();
    StartLine(indent + 2);
    Value(indent + 2, depth);
  }
  Byte();
  FOut += ')';
}

void TTextWriter::Collection(int indent, int depth) {
  FOut += '<';
  while (Peek() != 0) {
    EndLine();
    StartLine(indent + 2);
    FOut += "item";
    uint8_t order = Peek();
    if (order >= 2 && order <= 4)
      FOut += " [" + std::to_string(Integer(static_cast<TValueType>(Byte()))) + "]";
    if (Byte() != static_cast<uint8_t>(TValueType::List)) InvalidValue();
    EndLine();
    Properties(indent + 4, depth);
    StartLine(indent + 2);
    FOut += "end";
  }
  Byte();
  FOut += '>';
}

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

void ObjectBinaryToText(TStream& binary, TStream& text) {
  std::string converted = TTextWriter(binary).Convert();
  text.Write(converted.data(), converted.size());
}

std::string ObjectBinaryToText(std::string_view binary) {
  TMemoryStream stream(std::vector<uint8_t>(binary.begin(), binary.end()));
  return TTextWriter(stream).Convert();
}

}  // namespace pixvane
