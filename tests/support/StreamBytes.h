#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Stream.h"
#include "package/ObjectStream.h"

namespace pixvane::test {

// Builds object-stream bytes by hand, so tests can feed the reader exactly
// the byte sequences a writer (or an attacker) might produce.
class TBytes {
 public:
  TBytes& Raw(std::string_view bytes) {
    FBytes.insert(FBytes.end(), bytes.begin(), bytes.end());
    return *this;
  }
  TBytes& Byte(uint8_t b) {
    FBytes.push_back(b);
    return *this;
  }
  TBytes& Type(TValueType t) { return Byte(static_cast<uint8_t>(t)); }
  TBytes& Short(std::string_view s) { return Byte(static_cast<uint8_t>(s.size())).Raw(s); }
  TBytes& U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) Byte(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
  // "TPF0", class name, empty object name.
  TBytes& Header(std::string_view className, std::string_view objectName = "") {
    return Raw("TPF0").Short(className).Short(objectName);
  }
  TBytes& Prop(std::string_view path) { return Short(path); }
  TBytes& Int8(int8_t v) { return Type(TValueType::Int8).Byte(static_cast<uint8_t>(v)); }
  TBytes& ShortText(std::string_view s) { return Type(TValueType::ShortText).Short(s); }
  TBytes& Long(TValueType t, std::string_view s) {
    return Type(t).U32(static_cast<uint32_t>(s.size())).Raw(s);
  }
  TBytes& Ident(std::string_view s) { return Type(TValueType::Ident).Short(s); }
  TBytes& End() { return Byte(0).Byte(0); }  // end of properties and of children

  const std::vector<uint8_t>& Bytes() const { return FBytes; }
  std::string String() const { return std::string(FBytes.begin(), FBytes.end()); }
  TMemoryStream Stream() const { return TMemoryStream(FBytes); }

 private:
  std::vector<uint8_t> FBytes;
};

}  // namespace pixvane::test
