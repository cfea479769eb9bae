#include "package/ObjectText.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <vector>

#include "base/CodePage.h"
#include "base/Errors.h"
#include "base/Stream.h"
#include "package/ExtendedFloat.h"
#include "package/ObjectScanner.h"
#include "package/ObjectStream.h"
#include "package/ObjectTextRules.h"

namespace pixvane {
namespace {

using namespace object_text;

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
// Walks one binary object and writes its text.
class TTextWriter : TObjectScanner {
 public:
  using TObjectScanner::TObjectScanner;

  std::string Convert() {
    ReadSignature();
    Object(0, 0);
    return std::move(FOut);
  }

 private:
  // A name the text form can hold: what cannot be read back is refused here
  // rather than written as text that would not parse.
  std::string Name(bool dotted) {
    std::string name = ShortString();
    if (!IsName(name, dotted)) InvalidValue();
    return name;
  }

  void StartLine(int indent) { FOut.append(static_cast<size_t>(indent), ' '); }
  void EndLine() { FOut += "\r\n"; }

  void Object(int indent, int depth);
  void Value(int indent, int depth);
  void Float(double value, std::string_view suffix);
  void Text(const std::u32string& characters, bool unicode);
  void Hex(const std::string& bytes, int indent);
  void List(int indent, int depth);
  void Collection(int indent, int depth);
  void Properties(int indent, int depth);

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
      Read(bytes, 10);
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

}  // namespace

void ObjectBinaryToText(TStream& binary, TStream& text) {
  std::string converted = TTextWriter(binary).Convert();
  text.Write(converted.data(), converted.size());
}

std::string ObjectBinaryToText(std::string_view binary) {
  TMemoryStream stream(std::vector<uint8_t>(binary.begin(), binary.end()));
  return TTextWriter(stream).Convert();
}

}  // namespace pixvane
