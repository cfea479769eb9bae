#pragma once
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "maker/SaverIdentity.h"

namespace pixvane::maker {

// The files the MSI's source names, in the folder wixl runs in.
inline constexpr std::string_view MsiSaverFile = "saver.scr";
inline constexpr std::string_view MsiIconFile = "player.ico";
inline constexpr std::string_view MsiOutputFile = "saver.msi";

// The saver's texts as wixl's command-line defines, which the source
// refers to. wixl expands $(...) and drops a lone $ anywhere in a source,
// however it is escaped, while a define's value is taken as it stands.
std::vector<std::string> MsiDefines(const TSaverIdentity& identity);

// The product version of a build made at time: year since 2000, month, and
// the minute of the month, which only grows from one build to the next.
std::string MsiVersion(std::time_t time);

// The WiX source (for wixl -a x64 with MsiDefines) of a per-machine MSI
// that installs the saver into the 64-bit System32. Its upgrade code comes
// from the saver's identity, so every build of the saver has the same one;
// productCode is new for each build, its version from the time it was
// built. An MSI of the same saver built before is removed by installing
// this one; one built later stops it.
std::string MsiSource(const TSaverIdentity& identity, const TUuid& productCode, std::time_t built);

// The upgrade code of the saver's MSIs.
TUuid MsiUpgradeCode(const TSaverIdentity& identity);

}  // namespace pixvane::maker
