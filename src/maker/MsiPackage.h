#pragma once
#include <ctime>
#include <string>
#include <string_view>

#include "maker/SaverIdentity.h"

namespace pixvane::maker {

// The files the MSI's source names, in the folder wixl runs in.
inline constexpr std::string_view MsiSaverFile = "saver.scr";
inline constexpr std::string_view MsiIconFile = "player.ico";
inline constexpr std::string_view MsiOutputFile = "saver.msi";

// text with XML's five special characters as entities and control
// characters other than tabs and line breaks dropped, for an attribute.
std::string XmlText(std::string_view text);

// The product version of a build made at time: year since 2000, month, and
// the minute of the month, which only grows from one build to the next.
std::string MsiVersion(std::time_t time);

// The WiX source (for wixl -a x64) of a per-machine MSI that installs the
// saver into the 64-bit System32. Its upgrade code comes from the saver's
// identity, so every build of the saver has the same one; productCode is
// new for each build. An MSI of the same saver, older or of the same
// version, is removed by installing this one; a newer one stops it.
std::string MsiSource(const TSaverIdentity& identity, const TUuid& productCode,
                      const std::string& version);

// The upgrade code of the saver's MSIs.
TUuid MsiUpgradeCode(const TSaverIdentity& identity);

}  // namespace pixvane::maker
