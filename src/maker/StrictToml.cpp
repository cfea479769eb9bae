#include "maker/StrictToml.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>

#include "base/AsciiText.h"
#include "maker/Spelling.h"
#include "maker/TomlText.h"
#include "maker/ToolError.h"

namespace pixvane::maker {
namespace {

namespace fs = std::filesystem;

int LineOf(const toml::key& key) {
  return static_cast<int>(key.source().begin.line);
}

std::string Dotted(const std::string& table, const std::string& key) {
  return table.empty() ? key : table + "." + key;
}

const TTomlSchema::TTable* FindTable(const TTomlSchema& schema, const std::string& name) {
  for (const TTomlSchema::TTable& table : schema.Tables)
    if (table.Name == name) return &table;
  return nullptr;
}

}  // namespace

int LineOf(const toml::node& node) {
  return static_cast<int>(node.source().begin.line);
}

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

TTomlFile::TTomlFile(const fs::path& file, const std::string& text, const TTomlSchema& schema)
    : FFile(file), FSchema(schema) {
  if (int line = LineOfStrayNonAscii(text))
    Fail(line, "a character outside ASCII belongs in quotes");
  try {
    FRoot = toml::parse(text, Utf8FromPath(file));
  } catch (const toml::parse_error& e) {
    Fail(static_cast<int>(e.source().begin.line), std::string(e.description()));
  } catch (const EToolError& e) {  // the parser's own checks (maker/Toml.h)
    Fail(0, e.what());
  }
}

void TTomlFile::Fail(int line, const std::string& problem) const {
  throw EToolError(Located(FFile, line, problem));
}

void TTomlFile::Warn(int line, const std::string& problem) const {
  FWarnings.push_back(Located(FFile, line, problem));
}

std::string ReadTextFile(const fs::path& file, const std::string& what) {
  std::ifstream in(file, std::ios::binary);
  std::error_code error;
  if (!in || fs::is_directory(file, error))
    throw EToolError(Located(file, 0, "cannot read " + what));
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TTomlTable::TTomlTable(const TTomlFile& file) : TTomlTable(file, file.Root(), "") {}

TTomlTable::TTomlTable(const TTomlFile& file, const toml::table& table, std::string name)
    : FFile(file), FTable(table), FName(std::move(name)) {
  CheckKeys();
}

std::string TTomlTable::Path(std::string_view key) const {
  return Dotted(FName, std::string(key));
}

std::string TTomlTable::TypeName(const toml::node& node) {
  switch (node.type()) {
    case toml::node_type::string:
      return "a string";
    case toml::node_type::integer:
      return "an integer";
    case toml::node_type::floating_point:
      return "a floating-point number";
    case toml::node_type::boolean:
      return "a boolean";
    case toml::node_type::table:
      return "a table";
    case toml::node_type::array:
      return "an array";
    default:
      return "a date or time";
  }
}

void TTomlTable::CheckKeys() const {
  const TTomlSchema::TTable* known = FindTable(FFile.Schema(), FName);
  if (!known) return;
  for (auto&& [key, value] : FTable) {
    const std::string name(key.str());
    if (std::find(known->Keys.begin(), known->Keys.end(), name) != known->Keys.end()) continue;
    const std::string hint = Suggestion(name, value);
    if (value.is_table() || value.is_array_of_tables())
      Fail(LineOf(key), "unknown table [" + Path(name) + "]" + hint);
    Fail(LineOf(key), "unknown key " + Quoted(Path(name)) + hint);
  }
}

// What a misspelt or misplaced key most likely meant: a key of this table,
// a key of another table (a maker who left out the [show] line), or a key
// of older files, whichever is closest; this table's own on a tie. Another
// table's key must be nearer (one letter off in a short key), and a table
// is offered only for a table, or "fit" would find [exit].
std::string TTomlTable::Suggestion(const std::string& key, const toml::node& value) const {
  struct TCandidate {
    std::string Name, Text;
    bool Own;
  };
  std::vector<TCandidate> candidates;
  const TTomlSchema& schema = FFile.Schema();
  const bool isTable = value.is_table() || value.is_array_of_tables();
  for (const TTomlSchema::TTable& table : schema.Tables)
    for (const std::string& name : table.Keys) {
      const std::string path = Dotted(table.Name, name);
      if (table.Name != FName && (FindTable(schema, path) != nullptr) != isTable) continue;
      std::string text = Quoted(path);
      if (table.Name != FName)
        text += table.Name.empty() ? " (at the top, before the first [table])"
                                   : " (under [" + table.Name + "])";
      candidates.push_back({name, text, table.Name == FName});
    }
  const toml::value<bool>* flag = value.as_boolean();
  for (const TTomlSchema::TOlderKey& older : schema.OlderKeys) {
    const bool off = flag && !flag->get();
    if (off && older.WhenFalse.empty()) continue;  // `fit = false` says nothing of today's key
    candidates.push_back({older.Key, Dotted(older.Table, off ? older.WhenFalse : older.WhenTrue),
                          older.Table == FName});
  }
  // The nearest at the smallest distance, ours before the others'.
  const std::string lower = AsciiLowerCase(key);
  const size_t ownReach = SpellingReach(key);
  const size_t otherReach = std::max<size_t>(1, key.size() / 3);
  std::vector<std::string> meant;
  std::pair<size_t, bool> best{SIZE_MAX, false};  // distance, not own
  for (const TCandidate& candidate : candidates) {
    const size_t distance = EditDistance(lower, AsciiLowerCase(candidate.Name));
    if (distance > (candidate.Own ? ownReach : otherReach)) continue;
    const std::pair<size_t, bool> rank{distance, !candidate.Own};
    if (rank > best) continue;
    if (rank < best) meant.clear();
    best = rank;
    if (std::find(meant.begin(), meant.end(), candidate.Text) == meant.end())
      meant.push_back(candidate.Text);
  }
  std::string hint;
  for (const std::string& text : meant) hint += (hint.empty() ? "; did you mean " : " or ") + text;
  return hint.empty() ? hint : hint + "?";
}

std::optional<std::string> TTomlTable::String(std::string_view key) const {
  auto* node = Find(key);
  if (!node) return std::nullopt;
  return Expect<toml::value<std::string>>(*node, Path(key), "a string").get();
}

void TTomlTable::Flag(std::string_view key, bool& field) const {
  if (auto* node = Find(key))
    field = Expect<toml::value<bool>>(*node, Path(key), "true or false").get();
}

void TTomlTable::Integer(std::string_view key, int32_t& field, int64_t min, int64_t max,
                         const std::string& unit) const {
  auto* node = Find(key);
  if (!node) return;
  int64_t value = Expect<toml::value<int64_t>>(*node, Path(key), "an integer").get();
  if (value < min || value > max)
    Fail(LineOf(*node), Path(key) + " must be between " + std::to_string(min) + " and " +
                            std::to_string(max) + unit + ", not " + std::to_string(value));
  field = static_cast<int32_t>(value);
}

const toml::array* TTomlTable::Array(std::string_view key) const {
  auto* node = Find(key);
  return node ? &Expect<toml::array>(*node, Path(key), "an array") : nullptr;
}

std::vector<std::pair<std::string, int>> TTomlTable::Strings(std::string_view key) const {
  std::vector<std::pair<std::string, int>> items;
  if (auto* array = Array(key))
    for (const toml::node& item : *array)
      items.emplace_back(
          Expect<toml::value<std::string>>(item, "each item of " + Path(key), "a string").get(),
          LineOf(item));
  return items;
}

std::optional<TTomlTable> TTomlTable::Sub(std::string_view key) const {
  auto* node = Find(key);
  if (!node) return std::nullopt;
  return TTomlTable(FFile, Expect<toml::table>(*node, Path(key), "a table"), Path(key));
}

}  // namespace pixvane::maker
