#include "package/Persistent.h"

#include <cassert>

#include "base/AsciiText.h"
#include "base/Stream.h"

namespace pixvane {

const TIdentEntry* TIdentMap::FindName(std::string_view name) const {
  for (const auto& entry : *this)
    if (SameText(entry.Name, name)) return &entry;
  return nullptr;
}

const TIdentEntry* TIdentMap::FindValue(int32_t value) const {
  for (const auto& entry : *this)
    if (entry.Value == value) return &entry;
  return nullptr;
}

TProperty& TPropertyList::Add(std::string_view name, TPropKind kind) {
  TProperty& p = FItems.emplace_back();
  p.Name = name;
  p.Kind = kind;
  return p;
}

template <auto TProperty::*Get, auto TProperty::*Set, typename TGetter, typename TSetter>
TProperty& TPropertyList::Accessed(std::string_view name, TPropKind kind, TGetter get,
                                   TSetter set) {
  TProperty& p = Add(name, kind);
  p.*Get = std::move(get);
  p.*Set = std::move(set);
  return p;
}

TProperty& TPropertyList::Integer(std::string_view name, int32_t& field, const TIdentMap* idents) {
  TProperty& p = Accessed<&TProperty::GetOrd, &TProperty::SetOrd>(
      name, TPropKind::Integer, [&field] { return field; }, [&field](int32_t v) { field = v; });
  p.Idents = idents;
  return p;
}

TProperty& TPropertyList::Flag(std::string_view name, bool& field) {
  return Accessed<&TProperty::GetOrd, &TProperty::SetOrd>(
      name, TPropKind::Boolean, [&field] { return field ? 1 : 0; },
      [&field](int32_t v) { field = v != 0; });
}

TProperty& TPropertyList::Enum(std::string_view name, int32_t& field, const TIdentMap& names) {
  TProperty& p = Integer(name, field, &names);
  p.Kind = TPropKind::Enum;
  return p;
}

TProperty& TPropertyList::Set(std::string_view name, uint32_t& field, const TIdentMap& names) {
  TProperty& p = Accessed<&TProperty::GetOrd, &TProperty::SetOrd>(
      name, TPropKind::Set, [&field] { return static_cast<int32_t>(field); },
      [&field](int32_t v) { field = static_cast<uint32_t>(v); });
  p.Idents = &names;
  return p;
}

TProperty& TPropertyList::Text(std::string_view name, std::string& field) {
  return Text(
      name, [&field] { return field; }, [&field](std::string v) { field = std::move(v); });
}

TProperty& TPropertyList::Text(std::string_view name, std::function<std::string()> get,
                               std::function<void(std::string)> set) {
  return Accessed<&TProperty::GetText, &TProperty::SetText>(name, TPropKind::Text, std::move(get),
                                                            std::move(set));
}

TProperty& TPropertyList::Float(std::string_view name, double& field) {
  return Accessed<&TProperty::GetFloat, &TProperty::SetFloat>(
      name, TPropKind::Float, [&field] { return field; }, [&field](double v) { field = v; });
}

TProperty& TPropertyList::Binary(std::string_view name, std::function<void(TStream&)> read,
                                 std::function<void(TStream&)> write) {
  return Accessed<&TProperty::ReadData, &TProperty::WriteData>(name, TPropKind::Binary,
                                                               std::move(read), std::move(write));
}

TProperty& TPropertyList::Object(std::string_view name, TPersistent& object) {
  TProperty& p = Add(name, TPropKind::Object);
  p.Object = &object;
  return p;
}

const TProperty* TPropertyList::Find(std::string_view name) const {
  for (const auto& p : FItems)
    if (SameText(p.Name, name)) return &p;
  return nullptr;
}

TPropertyList ReadOnlyProperties(const TPersistent& object) {
  TPropertyList properties;
  // Defining the list only takes references to the fields; nothing here
  // writes through them.
  const_cast<TPersistent&>(object).DefineProperties(properties);
  return properties;
}

namespace {

bool SameValue(const TProperty& a, const TProperty& b) {
  switch (a.Kind) {
    case TPropKind::Text:
      return a.GetText() == b.GetText();
    case TPropKind::Float:
      return a.GetFloat() == b.GetFloat();
    case TPropKind::Binary: {
      TMemoryStream blockA, blockB;
      a.WriteData(blockA);
      b.WriteData(blockB);
      return blockA.Bytes() == blockB.Bytes();
    }
    case TPropKind::Object:
      return SameProperties(*a.Object, *b.Object);
    default:
      return a.GetOrd() == b.GetOrd();
  }
}

}  // namespace

bool SameProperties(const TPersistent& a, const TPersistent& b) {
  assert(a.ClassName() == b.ClassName());
  TPropertyList propertiesA = ReadOnlyProperties(a), propertiesB = ReadOnlyProperties(b);
  for (size_t i = 0; i < propertiesA.Items().size(); ++i)
    if (!SameValue(propertiesA.Items()[i], propertiesB.Items()[i])) return false;
  return true;
}

}  // namespace pixvane
