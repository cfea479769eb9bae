#include <cassert>
#include <string>

#include "base/CodePage.h"
#include "base/Stream.h"
#include "package/ExtendedFloat.h"
#include "package/ObjectStream.h"

namespace pixvane {
namespace {

class TWriter {
 public:
  explicit TWriter(TStream& stream) : FStream(stream) {}

  void WriteRoot(TPersistent& object) {
    FStream.Write("TPF0", 4);
    ShortString(object.ClassName());
    ShortString(object.ObjectName());
    Properties(object, "");
    Byte(0);  // end of properties
    Byte(0);  // no children
  }

 private:
  void Byte(uint8_t b) { FStream.Write(&b, 1); }
  void Type(TValueType type) { Byte(static_cast<uint8_t>(type)); }
  template <typename T>
  void Scalar(T value) {
    FStream.Write(&value, sizeof value);
  }
  void ShortString(std::string_view text) {
    assert(text.size() <= 255);
    Byte(static_cast<uint8_t>(text.size()));
    FStream.Write(text.data(), text.size());
  }
  void LongBytes(TValueType type, std::string_view bytes) {
    Type(type);
    Scalar(static_cast<uint32_t>(bytes.size()));
    FStream.Write(bytes.data(), bytes.size());
  }

  void Integer(int32_t value) {
    if (value >= -128 && value <= 127) {
      Type(TValueType::Int8);
      Scalar(static_cast<int8_t>(value));
    } else if (value >= -32768 && value <= 32767) {
      Type(TValueType::Int16);
      Scalar(static_cast<int16_t>(value));
    } else {
      Type(TValueType::Int32);
      Scalar(value);
    }
  }

  void Text(const std::string& text, bool utf8, bool isUtf8) {
    if (isUtf8 && !IsAscii(text)) {
      LongBytes(TValueType::Utf8Text, text);
    } else if (utf8 && !IsAscii(text)) {
      LongBytes(TValueType::Utf8Text, AnsiToUtf8(text));
    } else if (text.size() <= 255) {
      Type(TValueType::ShortText);
      ShortString(text);
    } else {
      LongBytes(TValueType::LongText, text);
    }
  }

  void Properties(TPersistent& object, const std::string& prefix) {
    TPropertyList properties;
    object.DefineProperties(properties);
    for (const TProperty& property : properties.Items()) {
      if (!property.Stored) continue;
      if (property.Default && property.GetOrd() == *property.Default) continue;
      std::string path = prefix + std::string(property.Name);
      if (property.Kind == TPropKind::Object) {
        Properties(*property.Object, path + ".");
        continue;
      }
      std::string text = property.Kind == TPropKind::Text ? property.GetText() : std::string();
      if (property.Kind == TPropKind::Text && text.empty()) continue;  // texts only when not empty
      ShortString(path);
      Value(property, text);
    }
  }

  void Value(const TProperty& property, const std::string& text) {
    switch (property.Kind) {
      case TPropKind::Text:
        return Text(text, property.Utf8Text, property.Unicode && *property.Unicode);
      case TPropKind::Boolean:
        return Type(property.GetOrd() ? TValueType::True : TValueType::False);
      case TPropKind::Integer: {
        const TIdentEntry* name =
            property.Idents ? property.Idents->FindValue(property.GetOrd()) : nullptr;
        if (!name) return Integer(property.GetOrd());
        Type(TValueType::Ident);
        return ShortString(name->Name);
      }
      case TPropKind::Enum: {
        const TIdentEntry* name = property.Idents->FindValue(property.GetOrd());
        assert(name);
        Type(TValueType::Ident);
        return ShortString(name->Name);
      }
      case TPropKind::Set: {
        Type(TValueType::Set);
        uint32_t mask = static_cast<uint32_t>(property.GetOrd());
        for (const TIdentEntry& element : *property.Idents)
          if (mask & (1u << element.Value)) ShortString(element.Name);
        return ShortString("");
      }
      case TPropKind::Float: {
        uint8_t bytes[10];
        DoubleToExtended(property.GetFloat(), bytes);
        Type(TValueType::Extended);
        return FStream.Write(bytes, 10);
      }
      case TPropKind::Binary: {
        TMemoryStream block;
        property.WriteData(block);
        const auto& bytes = block.Bytes();
        return LongBytes(
            TValueType::Binary,
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
      }
      case TPropKind::Object:
        return;  // handled by the caller
    }
  }

  TStream& FStream;
};

}  // namespace

void WriteObject(TStream& stream, TPersistent& object) {
  TWriter(stream).WriteRoot(object);
}

}  // namespace pixvane
