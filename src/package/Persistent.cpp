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

TProperty& TPropertyList::Integer(std::string_view name, int32_t& field, const TIdentMap* idents) {
  TProperty& p = Add(name, TPropKind::Integer);
  p.Idents = idents;
  p.GetOrd = [&field] { return field; };
  p.SetOrd = [&field](int32_t v) { field = v; };
  return p;
}

TProperty& TPropertyList::Flag(std::string_view name, bool& field) {
  TProperty& p = Add(name, TPropKind::Boolean);
  p.GetOrd = [&field] { return field ? 1 : 0; };
  p.SetOrd = [&field](int32_t v) { field = v != 0; };
  return p;
}

TProperty& TPropertyList::Enum(std::string_view name, int32_t& field, const TIdentMap& names) {
  TProperty& p = Add(name, TPropKind::Enum);
  p.Idents = &names;
  p.GetOrd = [&field] { return field; };
  p.SetOrd = [&field](int32_t v) { field = v; };
  return p;
}

TProperty& TPropertyList::Set(std::string_view name, uint32_t& field, const TIdentMap& names) {
  TProperty& p = Add(name, TPropKind::Set);
  p.Idents = &names;
  p.GetOrd = [&field] { return static_cast<int32_t>(field); };
  p.SetOrd = [&field](int32_t v) { field = static_cast<uint32_t>(v); };
  return p;
}

TProperty& TPropertyList::Text(std::string_view name, std::string& field) {
  return Text(
      name, [&field] { return field; }, [&field](std::string v) { field = std::move(v); });
}

TProperty& TPropertyList::Text(std::string_view name, std::function<std::string()> get,
                               std::function<void(std::string)> set) {
  TProperty& p = Add(name, TPropKind::Text);
  p.GetText = std::move(get);
  p.SetText = std::move(set);
  return p;
}

TProperty& TPropertyList::Float(std::string_view name, double& field) {
  TProperty& p = Add(name, TPropKind::Float);
  p.GetFloat = [&field] { return field; };
  p.SetFloat = [&field](double v) { field = v; };
  return p;
}

TProperty& TPropertyList::Binary(std::string_view name, std::function<void(TStream&)> read,
                                 std::function<void(TStream&)> write) {
  TProperty& p = Add(name, TPropKind::Binary);
  p.ReadData = std::move(read);
  p.WriteData = std::move(write);
  return p;
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
