#include "studio/ManifestJson.h"

#include <algorithm>
#include <sstream>

#include "maker/Toml.h"
#include "maker/TomlText.h"

#include "maker/ToolError.h"

namespace pixvane::studio {
namespace {

using nlohmann::json;

json NodeToJson(const toml::node& node) {
  if (const toml::table* table = node.as_table()) {
    json object = json::object();
    for (const auto& [key, value] : *table) object[std::string(key.str())] = NodeToJson(value);
    return object;
  }
  if (const toml::array* array = node.as_array()) {
    json list = json::array();
    for (const toml::node& value : *array) list.push_back(NodeToJson(value));
    return list;
  }
  if (auto text = node.value_exact<std::string>()) return *text;
  if (auto integer = node.value_exact<int64_t>()) return *integer;
  if (auto number = node.value_exact<double>()) return *number;
  if (auto flag = node.value_exact<bool>()) return *flag;
  // Dates and times mean nothing to a manifest.
  throw maker::EToolError("pixvane.toml:" + std::to_string(node.source().begin.line) +
                          ": a date or time, which no manifest key takes");
}

toml::array ArrayFromJson(const json& list);

toml::table TableFromJson(const json& object) {
  toml::table table;
  for (const auto& [key, value] : object.items()) {
    if (value.is_null()) continue;
    // toml++ 3.3 writes such a key bare, and reads it back without them.
    if (std::any_of(key.begin(), key.end(), [](char c) { return c >= 0 && c < 0x20; }))
      throw maker::EToolError("a key holds a control character");
    if (value.is_object())
      table.insert(key, TableFromJson(value));
    else if (value.is_array())
      table.insert(key, ArrayFromJson(value));
    else if (value.is_string())
      table.insert(key, value.get<std::string>());
    else if (value.is_boolean())
      table.insert(key, value.get<bool>());
    else if (value.is_number_integer() && value.is_number_unsigned() &&
             value.get<uint64_t>() > static_cast<uint64_t>(INT64_MAX))
      throw maker::EToolError("the value of " + key + " is too large");
    else if (value.is_number_integer())
      table.insert(key, value.get<int64_t>());
    else if (value.is_number_float())
      table.insert(key, value.get<double>());
  }
  return table;
}

toml::array ArrayFromJson(const json& list) {
  toml::array array;
  for (const json& value : list) {
    if (value.is_string())
      array.push_back(value.get<std::string>());
    else if (value.is_boolean())
      array.push_back(value.get<bool>());
    else if (value.is_number_integer())
      array.push_back(value.get<int64_t>());
    else if (value.is_number_float())
      array.push_back(value.get<double>());
    else if (value.is_object()) {
      // Written inline, so a picture with a caption stays on its line
      // among the plain names.
      toml::table table = TableFromJson(value);
      table.is_inline(true);
      array.push_back(std::move(table));
    } else if (value.is_array())
      array.push_back(ArrayFromJson(value));
    else
      throw maker::EToolError("a list holds a value TOML cannot hold");
  }
  return array;
}

// The lines that carry a comment: a "#" outside every kind of TOML string.
std::vector<int> CommentLines(const std::string& text) {
  std::vector<int> lines;
  int line = 1;
  std::string quote;  // the open string's delimiter, empty outside strings
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\n') ++line;
    if (!quote.empty()) {
      if (c == '\\' && quote[0] == '"') {
        ++i;
        if (i < text.size() && text[i] == '\n') ++line;
      } else if (text.compare(i, quote.size(), quote) == 0) {
        i += quote.size() - 1;
        quote.clear();
      } else if (c == '\n' && quote.size() == 1) {
        quote.clear();  // a broken one-line string; the parser says so
      }
    } else if (c == '"' || c == '\'') {
      quote = text.compare(i, 3, std::string(3, c)) == 0 ? std::string(3, c) : std::string(1, c);
      i += quote.size() - 1;
    } else if (c == '#') {
      lines.push_back(line);
      while (i + 1 < text.size() && text[i + 1] != '\n') ++i;
    }
  }
  return lines;
}

}  // namespace

json ManifestToJson(const std::string& tomlText) {
  if (int line = maker::LineOfStrayNonAscii(tomlText))
    throw maker::EToolError("pixvane.toml:" + std::to_string(line) +
                            ": a character outside ASCII belongs in quotes");
  try {
    return NodeToJson(toml::parse(tomlText));
  } catch (const toml::parse_error& e) {
    throw maker::EToolError("pixvane.toml:" + std::to_string(e.source().begin.line) + ": " +
                            std::string(e.description()));
  } catch (const maker::EToolError& e) {  // the parser's own checks (maker/Toml.h)
    throw maker::EToolError(std::string("pixvane.toml: ") + e.what());
  }
}

std::string ManifestFromJson(const json& manifest) {
  if (!manifest.is_object()) throw maker::EToolError("the manifest must be a table");
  std::ostringstream text;
  text << toml::toml_formatter(TableFromJson(manifest)) << "\n";
  // toml++ 3.3 writes some keys in a form it cannot read back (a key with a
  // single quote in it as a literal key): such a manifest is refused here
  // rather than saved and then found unreadable.
  try {
    ManifestToJson(text.str());
  } catch (const maker::EToolError& e) {
    throw maker::EToolError(std::string("the manifest cannot be written as TOML (") + e.what() +
                            ")");
  }
  return text.str();
}

std::vector<std::string> LostOnSave(const std::string& tomlText) {
  std::vector<int> lines = CommentLines(tomlText);
  if (lines.empty()) return {};
  std::string where;
  for (size_t i = 0; i < lines.size() && i < 10; ++i)
    where += (i ? ", " : "") + std::to_string(lines[i]);
  if (lines.size() > 10) where += ", ...";
  return {"comments (line" + std::string(lines.size() > 1 ? "s " : " ") + where + ")"};
}

}  // namespace pixvane::studio
