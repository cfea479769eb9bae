#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pixvane {

class TStream;

// A fixed table of names and values: the colour and character-set
// identifiers of integer properties, or the element names of an enumerated
// or set property (value = ordinal). Names match without regard to case.
struct TIdentEntry {
  std::string_view Name;
  int32_t Value;
};

class TIdentMap {
 public:
  constexpr TIdentMap(const TIdentEntry* entries, size_t count)
      : FEntries(entries), FCount(count) {}
  const TIdentEntry* FindName(std::string_view name) const;
  const TIdentEntry* FindValue(int32_t value) const;
  const TIdentEntry* begin() const { return FEntries; }
  const TIdentEntry* end() const { return FEntries + FCount; }

 private:
  const TIdentEntry* FEntries;
  size_t FCount;
};

enum class TPropKind { Integer, Boolean, Enum, Set, Text, Float, Binary, Object };

class TPersistent;

// One published property: its name, its kind and how to reach its value.
// Ordinal kinds (Integer, Boolean, Enum, Set as a bit mask) share the
// ordinal accessors.
struct TProperty {
  std::string_view Name;
  TPropKind Kind = TPropKind::Integer;
  const TIdentMap* Idents = nullptr;
  std::function<int32_t()> GetOrd;
  std::function<void(int32_t)> SetOrd;
  std::function<std::string()> GetText;
  std::function<void(std::string)> SetText;
  std::function<double()> GetFloat;
  std::function<void(double)> SetFloat;
  std::function<void(TStream&)> ReadData;  // given the whole Binary block
  std::function<void(TStream&)> WriteData;
  TPersistent* Object = nullptr;
  bool Stored = true;  // the writer emits it
  // An ordinal the writer leaves out: properties added after packages were
  // first written keep the records that do not use them byte-for-byte as
  // they were.
  std::optional<int32_t> Default;
  bool Utf8Text = false;  // the writer stores non-ASCII text as UTF-8
  // Set for a text that may hold characters the code page lacks: the object
  // keeps such text as UTF-8 and this flag of its own says so. The reader
  // sets it; the writer stores UTF-8 text as the stream's UTF-8 text.
  bool* Unicode = nullptr;
};

// Built by an object on request, in declaration order: the reader looks
// names up in it and the writer emits properties in this order.
class TPropertyList {
 public:
  TProperty& Integer(std::string_view name, int32_t& field, const TIdentMap* idents = nullptr);
  TProperty& Flag(std::string_view name, bool& field);
  TProperty& Enum(std::string_view name, int32_t& field, const TIdentMap& names);
  TProperty& Set(std::string_view name, uint32_t& field, const TIdentMap& names);
  TProperty& Text(std::string_view name, std::string& field);
  TProperty& Text(std::string_view name, std::function<std::string()> get,
                  std::function<void(std::string)> set);
  TProperty& Float(std::string_view name, double& field);
  TProperty& Binary(std::string_view name, std::function<void(TStream&)> read,
                    std::function<void(TStream&)> write);
  TProperty& Object(std::string_view name, TPersistent& object);

  const TProperty* Find(std::string_view name) const;
  const std::vector<TProperty>& Items() const { return FItems; }

 private:
  TProperty& Add(std::string_view name, TPropKind kind);
  // A property whose value is reached through a getter and a setter, kept
  // in the property's two fields of its kind.
  template <auto TProperty::*Get, auto TProperty::*Set, typename TGetter, typename TSetter>
  TProperty& Accessed(std::string_view name, TPropKind kind, TGetter get, TSetter set);
  std::vector<TProperty> FItems;
};

// An object whose properties can be read from and written to an object stream.
class TPersistent {
 public:
  virtual ~TPersistent() = default;
  virtual std::string_view ClassName() const = 0;
  virtual void DefineProperties(TPropertyList& properties) = 0;
  // The name an object stream gives the object. Package records have none;
  // skin objects are found by theirs.
  virtual std::string ObjectName() const { return {}; }
  virtual void SetObjectName(const std::string& name) {}
};

// The property list of an object that is only to be read: its getters read
// the object, and its setters must never be called.
TPropertyList ReadOnlyProperties(const TPersistent& object);

// True when two objects of one class read the same in every property, stored
// or not; object properties compare property by property.
bool SameProperties(const TPersistent& a, const TPersistent& b);

}  // namespace pixvane
