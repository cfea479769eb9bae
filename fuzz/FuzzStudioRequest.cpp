// What a page, or anything else that reaches the studio's port, can send it:
// a name to fetch, an upload's file name, and a manifest as JSON or TOML.
// A fetched name must stay inside the project; an upload name must be one
// Windows stores as given and the studio then serves; a manifest must come
// back through the page's JSON form unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "base/CodePage.h"
#include "maker/ToolError.h"
#include "studio/ManifestJson.h"
#include "studio/StudioGuard.h"

using namespace pixvane;
using nlohmann::json;
namespace fs = std::filesystem;

namespace {

const fs::path Folder = "/project";

void CheckFetchedName(const std::string& input) {
  std::optional<fs::path> path = studio::PathInside(Folder, input);
  if (!path) return;
  const fs::path relative = path->lexically_normal().lexically_relative(Folder);
  if (relative.empty() || relative.is_absolute() || *relative.begin() == ".." ||
      *relative.begin() == ".")
    std::abort();
}

void CheckUploadName(const std::string& input) {
  const std::string name = studio::SafeFileName(input);
  if (name.empty()) return;
  if (ValidUtf8(name) != name || name.find_first_of("/\\<>:\"|?*") != std::string::npos)
    std::abort();
  for (unsigned char c : name)
    if (c < 0x20 || c == 0x7F) std::abort();
  if (name.front() == '.' || name.back() == '.' || name.back() == ' ') std::abort();
  // The page fetches it back by this name.
  if (!studio::PathInside(Folder, "pictures/" + name)) std::abort();
  json{{"added", {name}}}.dump();  // throws, and so fails, on bytes JSON cannot carry
}

// What the page loads from text it saves back to text that loads the same:
// nothing is lost or changed by a save, though the spelling may be toml++'s.
// A manifest toml++ cannot write readably is refused, never saved.
void CheckSavedLoadsTheSame(const json& loaded) {
  std::string saved;
  try {
    saved = studio::ManifestFromJson(loaded);
  } catch (const maker::EToolError&) {
    return;
  }
  if (studio::ManifestToJson(saved) != loaded) std::abort();
}

// TOML text the page loads must save back to text that loads the same.
void CheckManifestText(const std::string& input) {
  json loaded;
  try {
    loaded = studio::ManifestToJson(input);
  } catch (const maker::EToolError&) {
    return;
  }
  CheckSavedLoadsTheSame(loaded);
}

// JSON the page sends must become manifest text, or be refused with the
// tool's error; text made from it saves and loads as it loaded.
void CheckManifestJson(const std::string& input) {
  json manifest = json::parse(input, nullptr, false);
  if (manifest.is_discarded()) return;
  std::string text;
  try {
    text = studio::ManifestFromJson(manifest);
  } catch (const maker::EToolError&) {
    return;
  }
  CheckSavedLoadsTheSame(studio::ManifestToJson(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  CheckFetchedName(input);
  CheckUploadName(input);
  CheckManifestText(input);
  CheckManifestJson(input);
  return 0;
}
