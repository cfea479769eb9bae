#pragma once
#include <string_view>

namespace pixvane::maker {

// The player's icon as a Windows .ico file, drawn at build time by the
// script that draws it for the player's resources, so an installer carries
// the very icon of the saver it installs.
std::string_view PlayerIconFile();

}  // namespace pixvane::maker
