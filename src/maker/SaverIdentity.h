#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "package/SSFileLocations.h"

namespace pixvane::maker {

// A 128-bit identifier written as Windows writes GUIDs, upper case without
// braces: "886313E1-3B8A-5372-9B90-0C9AEE199E5D".
using TUuid = std::array<uint8_t, 16>;
std::string UuidText(const TUuid& uuid);

// A name-based identifier (version 5: SHA-1 over a namespace and the name),
// the same for the same name on every machine and in every build.
TUuid NameUuid(const TUuid& nameSpace, const std::string& name);
// A random identifier (version 4), new each call.
TUuid RandomUuid();

// What makes two builds the same saver to an installer: a newer build of it
// replaces the one installed, and another saver is installed beside it.
struct TSaverIdentity {
  std::string Name;             // file name without its extension: "Beach" of Beach.scr
  std::string Title;            // UTF-8
  std::string Author;           // UTF-8
  std::string Web;              // UTF-8
  TUuid Key{};                  // from title and author
  std::string KeyName() const;  // the uninstall entry's key: "Pixvane.<uuid>"
};

// The saver's identity from its file name and settings. The name is what it
// gets installed as, so it must be a plain Windows file name; one that is
// not fails with EToolError.
TSaverIdentity SaverIdentity(const std::filesystem::path& saver, const TSSFileLocations& settings);

}  // namespace pixvane::maker
