#include <cstring>
#include <string>
#include <vector>

#include "base/AsciiText.h"
#include "base/CodePage.h"
#include "base/Errors.h"
#include "base/Stream.h"
#include "package/ClassRegistry.h"
#include "package/ExtendedFloat.h"
#include "package/ObjectScanner.h"
#include "package/ObjectStream.h"

namespace pixvane {
namespace {

// Objects and list values may nest; a hostile stream could nest them deeply
// enough to exhaust the stack, so depth is bounded far above anything a real
// stream holds.
constexpr int MaxDepth = 64;

class TReader : public TObjectScanner {
 public:
  using TObjectScanner::TObjectScanner;

  std::unique_ptr<TPersistent> ReadObjectBody(TPersistent* target, int depth);
  void SkipValue(int depth);

 private:
  // Text as stored: 8-bit text as it is, UTF-8 and UTF-16 as UTF-8.
  TStoredText Text(TValueType type) {
    switch (type) {
      case TValueType::ShortText:
        return {ShortString()};
      case TValueType::LongText:
        return {Bytes(Scalar<uint32_t>())};
      case TValueType::Utf8Text:
        return {Bytes(Scalar<uint32_t>()), true};
      case TValueType::WideText: {
        std::string raw = Bytes(uint64_t{Scalar<uint32_t>()} * 2);
        std::u16string wide(raw.size() / 2, u'\0');
        for (size_t i = 0; i < wide.size(); ++i)
          wide[i] = static_cast<char16_t>(static_cast<uint8_t>(raw[2 * i]) |
                                          (static_cast<uint8_t>(raw[2 * i + 1]) << 8));
        return {Utf16ToUtf8(wide), true};
      }
      default:
        InvalidValue();
    }
  }

  double Float(TValueType type) {
    switch (type) {
      case TValueType::Extended: {
        uint8_t bytes[10];
        Read(bytes, 10);
        return ExtendedToDouble(bytes);
      }
      case TValueType::Single:
        return Scalar<float>();
      case TValueType::Currency:
        return static_cast<double>(Scalar<int64_t>()) / 10000.0;
      case TValueType::Date:
        return Scalar<double>();
      default:
        InvalidValue();
    }
  }

  int32_t Ordinal(const TProperty& property, TValueType type);
  void ReadValue(const TProperty& property);
  void ReadProperty(TPersistent& object, const std::string& objectName);
};

int32_t TReader::Ordinal(const TProperty& property, TValueType type) {
  switch (property.Kind) {
    case TPropKind::Integer:
      if (type != TValueType::Ident) return Integer(type);
      if (!property.Idents) InvalidValue();
      break;
    case TPropKind::Boolean:
      if (type == TValueType::False) return 0;
      if (type == TValueType::True) return 1;
      if (type == TValueType::Ident) {
        std::string name = ShortString();
        if (SameText(name, "False")) return 0;
        if (SameText(name, "True")) return 1;
      }
      InvalidValue();
    case TPropKind::Set: {
      if (type != TValueType::Set) InvalidValue();
      uint32_t mask = 0;
      for (std::string name = ShortString(); !name.empty(); name = ShortString()) {
        const TIdentEntry* element = property.Idents->FindName(name);
        if (!element) InvalidValue();
        mask |= 1u << element->Value;
      }
      return static_cast<int32_t>(mask);
    }
    default:  // enumerated: an identifier only
      if (type != TValueType::Ident) InvalidValue();
  }
  const TIdentEntry* entry = property.Idents->FindName(ShortString());
  if (!entry) InvalidValue();
  return entry->Value;
}

void TReader::ReadValue(const TProperty& property) {
  TValueType type = ValueType();
  switch (property.Kind) {
    case TPropKind::Text: {
      // Unicode text goes into the code page unless the property keeps
      // characters the code page lacks; 8-bit text stays as it is.
      TStoredText text = Text(type);
      if (text.Utf8)
        text = property.Unicode ? TStoredText::FromUtf8(text.Bytes)
                                : TStoredText(Utf8ToAnsi(text.Bytes));
      property.SetText(std::move(text.Bytes));
      if (property.Unicode) *property.Unicode = text.Utf8;
      return;
    }
    case TPropKind::Float:
      property.SetFloat(Float(type));
      return;
    case TPropKind::Binary: {
      if (type != TValueType::Binary) {
        Unread();  // the type byte belongs to the value being skipped
        SkipValue(0);
        InvalidValue();
      }
      // The whole block is read first, so the position after the property is
      // the end of the block whatever the sub-object's reader consumed.
      uint32_t length = Scalar<uint32_t>();
      CheckRemaining(length);
      std::vector<uint8_t> bytes(length);
      Read(bytes.data(), length);
      TMemoryStream block(std::move(bytes));
      property.ReadData(block);
      return;
    }
    case TPropKind::Object:
      if (type != TValueType::Nil) InvalidValue();
      return;
    default:
      property.SetOrd(Ordinal(property, type));
  }
}

void TReader::ReadProperty(TPersistent& object, const std::string& objectName) {
  std::string path = ShortString();
  try {
    TPersistent* owner = &object;
    size_t start = 0;
    for (;;) {
      size_t dot = path.find('.', start);
      std::string_view name = std::string_view(path).substr(start, dot - start);
      TPropertyList properties;
      owner->DefineProperties(properties);
      const TProperty* property = properties.Find(name);
      if (!property) {
        // A property this object does not have is passed over.
        SkipValue(0);
        return;
      }
      if (dot == std::string::npos) {
        ReadValue(*property);
        return;
      }
      if (property->Kind != TPropKind::Object) throw EReadError("Invalid property path");
      owner = property->Object;
      start = dot + 1;
    }
  } catch (const EError& e) {
    throw EReadError(Format("Error reading %s%s%s: %s", objectName, ".", path, e.what()));
  }
}

std::unique_ptr<TPersistent> TReader::ReadObjectBody(TPersistent* target, int depth) {
  if (depth > MaxDepth) throw EReadError("Invalid stream format");
  if (Peek() >= 0xF0) {
    // Written by form designers for inherited children; packages never have it.
    if (Byte() & 2) Integer(ValueType());
  }
  std::string className = ShortString();
  std::string objectName = ShortString();
  std::unique_ptr<TPersistent> created;
  if (!target) {
    created = CreateRegistered(className);
    target = created.get();
  }
  target->SetObjectName(objectName);
  const std::string displayName =
      objectName.empty() ? std::string(target->ClassName()) : objectName;
  while (Peek() != 0) ReadProperty(*target, displayName);
  Byte();
  // Child objects are read by their classes and dropped: a package record has none.
  while (Peek() != 0) ReadObjectBody(nullptr, depth + 1);
  Byte();
  return created;
}

void TReader::SkipValue(int depth) {
  if (depth > MaxDepth) InvalidValue();
  switch (ValueType()) {
    case TValueType::Null:
    case TValueType::False:
    case TValueType::True:
    case TValueType::Nil:
      return;
    case TValueType::List:
      while (Peek() != 0) SkipValue(depth + 1);
      Byte();
      return;
    case TValueType::Int8:
      return Skip(1);
    case TValueType::Int16:
      return Skip(2);
    case TValueType::Int32:
    case TValueType::Single:
      return Skip(4);
    case TValueType::Extended:
      return Skip(10);
    case TValueType::Currency:
    case TValueType::Date:
    case TValueType::Int64:
      return Skip(8);
    case TValueType::ShortText:
    case TValueType::Ident:
      return Skip(Byte());
    case TValueType::Binary:
    case TValueType::LongText:
    case TValueType::Utf8Text:
      return Skip(Scalar<uint32_t>());
    case TValueType::WideText:
      return Skip(uint64_t{Scalar<uint32_t>()} * 2);
    case TValueType::Set:
      while (uint8_t length = Byte()) Skip(length);
      return;
    case TValueType::Collection:
      while (Peek() != 0) {
        uint8_t order = Peek();
        if (order >= 2 && order <= 4) Integer(ValueType());
        if (ValueType() != TValueType::List) InvalidValue();
        while (uint8_t length = Byte()) {
          Skip(length);
          SkipValue(depth + 1);
        }
      }
      Byte();
      return;
    default:
      InvalidValue();
  }
}

}  // namespace

void ReadObject(TStream& stream, TPersistent& target) {
  TReader reader(stream);
  reader.ReadSignature();
  reader.ReadObjectBody(&target, 0);
}

std::unique_ptr<TPersistent> ReadObject(TStream& stream) {
  TReader reader(stream);
  reader.ReadSignature();
  return reader.ReadObjectBody(nullptr, 0);
}

void SkipValue(TStream& stream) {
  TReader reader(stream);
  reader.SkipValue(0);
}

}  // namespace pixvane
