#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "maker/SaverIdentity.h"

namespace pixvane::maker {

// The files the setup program's script names, in the folder makensis runs in.
inline constexpr std::string_view SetupSaverFile = "saver.scr";
inline constexpr std::string_view SetupIconFile = "player.ico";
inline constexpr std::string_view SetupWelcomeFile = "welcome.bmp";
inline constexpr std::string_view SetupOutputFile = "setup.exe";
inline constexpr std::string_view SetupTextsFile = "texts.ini";

// The saver's texts for its setup program (name, title, author, web
// address, the welcome page's text) as the INI file it reads them from,
// in UTF-16. Titles are anyone's text, and makensis would expand its
// defines inside any string of a script; read at run time they stay text.
std::vector<uint8_t> SetupTexts(const TSaverIdentity& identity);

// The NSIS script of a saver's setup program (UTF-8 with its byte order
// mark, for the 64-bit Unicode stub), which holds none of the saver's texts. By default it installs
// for the current user without asking for administrator rights and makes the saver the user's
// screen saver; "For everyone on this computer" or /ALLUSERS installs into System32 after
// elevation. The uninstaller removes what was installed and gives back the screen saver chosen
// before. saverBytes sizes the entry in the installed apps.
std::string SetupProgramScript(const TSaverIdentity& identity, int64_t saverBytes);

}  // namespace pixvane::maker
