#pragma once
#include <cstdint>
#include <memory>

#include "package/Persistent.h"

namespace pixvane {

class TStream;

// Type codes of the values in an object stream.
enum class TValueType : uint8_t {
  Null = 0,
  List,
  Int8,
  Int16,
  Int32,
  Extended,
  ShortText,
  Ident,
  False,
  True,
  Binary,
  Set,
  LongText,
  Nil,
  Collection,
  Single,
  Currency,
  Date,
  WideText,
  Int64,
  Utf8Text,
};

// Reads the signature "TPF0" and one object at the stream's position,
// applying its properties to target; the class name in the stream is not
// checked. Leaves the position just after the object's final zero byte.
// Errors: "Invalid stream format", "Stream read error", "Invalid property
// value", "Invalid property path", each raised while a property is applied
// wrapped as "Error reading <object>.<path>: <message>".
void ReadObject(TStream& stream, TPersistent& target);

// As above, but creates the object from its class name, which must have been
// registered ("Class %s not found" otherwise). The caller owns the result.
std::unique_ptr<TPersistent> ReadObject(TStream& stream);

// Reads one value of any type and discards it.
void SkipValue(TStream& stream);

// Writes "TPF0" and the object: no prefix, its class name, its object name
// (empty for package records), its stored properties in declaration order, and an empty child list.
void WriteObject(TStream& stream, TPersistent& object);

}  // namespace pixvane
