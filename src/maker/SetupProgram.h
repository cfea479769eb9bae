#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "maker/SaverIdentity.h"

namespace pixvane::maker {

// The files the setup program's script names, in the folder makensis runs in.
inline constexpr std::string_view SetupSaverFile = "saver.scr";
inline constexpr std::string_view SetupIconFile = "player.ico";
inline constexpr std::string_view SetupWelcomeFile = "welcome.bmp";
inline constexpr std::string_view SetupOutputFile = "setup.exe";

// text as an NSIS string in double quotes that makensis reads back as
// exactly text: no variable, define or escape of NSIS inside it takes
// effect. Control characters other than line breaks and tabs are dropped.
std::string NsisString(std::string_view text);

// The NSIS script of a saver's setup program (UTF-8 with its byte order
// mark, for the 64-bit Unicode stub). By default it installs for the current
// user without asking for administrator rights and makes the saver the
// user's screen saver; "For everyone on this computer" or /ALLUSERS installs
// into System32 after elevation. The uninstaller removes what was installed
// and gives back the screen saver chosen before. saverBytes sizes the entry
// in the installed apps.
std::string SetupProgramScript(const TSaverIdentity& identity, int64_t saverBytes);

}  // namespace pixvane::maker
