#pragma once
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace pixvane::studio {

// The manifest as the page edits it: its TOML tables as JSON objects, every
// key the maker wrote kept, known or not, so a hand-written manifest loses no
// setting on its way through the page. Fails with EToolError on TOML that
// does not parse.
nlohmann::json ManifestToJson(const std::string& tomlText);

// The JSON back as manifest text. Integers stay integers, so the manifest
// reads back the same; null values are left out (the page's way of going
// back to a default). Fails with EToolError on values TOML cannot hold.
std::string ManifestFromJson(const nlohmann::json& manifest);

// What saving text through the page would drop, for the maker to hear
// before it happens: its comments, and where they are ("comments (lines 1,
// 4)"). Empty when nothing would be lost.
std::vector<std::string> LostOnSave(const std::string& tomlText);

}  // namespace pixvane::studio
