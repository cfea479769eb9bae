#pragma once
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "maker/Toml.h"

namespace pixvane::maker {

// What a TOML file of the tool may hold: the known keys of each table, so a
// misspelt key is an error rather than a setting silently lost, and the
// error can say what was meant.
struct TTomlSchema {
  struct TTable {
    std::string Name;  // the dotted path; "" is the top level
    std::vector<std::string> Keys;
  };
  // A table that is not listed takes any key (its keys are the maker's own
  // names, as a skin's [bitmaps]).
  std::vector<TTable> Tables;

  // A key that older files, or the stored settings' own names, used for what
  // a key of today says: a maker writing `shuffle = true` from memory is told
  // `order = "shuffle"`. WhenFalse, if any, is what `Key = false` means;
  // without it such a key leads nowhere.
  struct TOlderKey {
    std::string Table, Key, WhenTrue, WhenFalse;
  };
  std::vector<TOlderKey> OlderKeys;
};

int LineOf(const toml::node& node);

// "\"text\"".
std::string Quoted(const std::string& text);

// A whole TOML file, parsed. Every problem found in it fails with EToolError
// as "FILE:LINE: problem", the form compilers use, so editors can jump to it.
class TTomlFile {
 public:
  // Parses text, read from file; a syntax error fails with toml++'s words.
  TTomlFile(const std::filesystem::path& file, const std::string& text, const TTomlSchema& schema);
  TTomlFile(const TTomlFile&) = delete;
  TTomlFile& operator=(const TTomlFile&) = delete;

  const std::filesystem::path& File() const { return FFile; }
  const TTomlSchema& Schema() const { return FSchema; }
  const toml::table& Root() const { return FRoot; }

  [[noreturn]] void Fail(int line, const std::string& problem) const;
  // Likely mistakes that do not stop the tool, each "FILE:LINE: problem".
  void Warn(int line, const std::string& problem) const;
  std::vector<std::string> TakeWarnings() const { return std::move(FWarnings); }

 private:
  std::filesystem::path FFile;
  const TTomlSchema& FSchema;
  toml::table FRoot;
  mutable std::vector<std::string> FWarnings;
};

// The text of a file the tool reads as a whole; one that cannot be read (a
// folder, a missing file) fails as "FILE: cannot read WHAT".
std::string ReadTextFile(const std::filesystem::path& file, const std::string& what);

// One table of the file, its keys checked against the schema when it is
// opened. Lookups check the value's type and name the key as "table.key" in
// messages, the way a maker would search for it.
class TTomlTable {
 public:
  // The top level.
  explicit TTomlTable(const TTomlFile& file);

  const TTomlFile& File() const { return FFile; }
  int Line() const { return LineOf(FTable); }
  std::string Path(std::string_view key) const;
  [[noreturn]] void Fail(int line, const std::string& problem) const { FFile.Fail(line, problem); }

  const toml::node* Find(std::string_view key) const { return FTable.get(key); }
  const toml::table& Table() const { return FTable; }

  template <typename T>
  const T& Expect(const toml::node& node, const std::string& what, const std::string& type) const {
    const T* value = node.as<T>();
    if (!value) Fail(LineOf(node), what + " must be " + type + ", not " + TypeName(node));
    return *value;
  }

  // A string key's UTF-8 text; nullopt when absent.
  std::optional<std::string> String(std::string_view key) const;
  void Flag(std::string_view key, bool& field) const;
  void Integer(std::string_view key, int32_t& field, int64_t min, int64_t max,
               const std::string& unit = "") const;
  const toml::array* Array(std::string_view key) const;
  // The strings of an array key, each with its own line.
  std::vector<std::pair<std::string, int>> Strings(std::string_view key) const;
  // A sub-table, its keys checked; nullopt when absent.
  std::optional<TTomlTable> Sub(std::string_view key) const;

  // A string key that names one of a few choices; nullopt when absent.
  template <typename T>
  std::optional<T> Choice(std::string_view key,
                          std::initializer_list<std::pair<std::string_view, T>> choices) const {
    auto* node = Find(key);
    if (!node) return std::nullopt;
    const std::string& text = Expect<toml::value<std::string>>(*node, Path(key), "a string").get();
    std::string names;
    for (const auto& [name, value] : choices) {
      if (text == name) return value;
      names += (names.empty() ? "" : ", ") + Quoted(std::string(name));
    }
    Fail(LineOf(*node), Path(key) + " " + Quoted(text) + " is not one of " + names);
  }

 private:
  TTomlTable(const TTomlFile& file, const toml::table& table, std::string name);
  static std::string TypeName(const toml::node& node);
  // Every key must be one the schema knows for this table, if it lists it.
  void CheckKeys() const;
  std::string Suggestion(const std::string& key, const toml::node& value) const;

  const TTomlFile& FFile;
  const toml::table& FTable;
  std::string FName;
};

}  // namespace pixvane::maker
