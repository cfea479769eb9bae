#pragma once
#include <cstddef>
#include <string_view>

namespace pixvane::studio {

// A file of the page (src/studio/web), built into the tool.
struct TWebAsset {
  std::string_view Name;  // as the page asks for it: "studio.js"
  std::string_view Bytes;
};

// The asset of that name, or nullptr (generated at build time).
const TWebAsset* FindWebAsset(std::string_view name);

}  // namespace pixvane::studio
