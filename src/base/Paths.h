#pragma once
#include <string>
#include <string_view>

namespace pixvane {

#ifdef _WIN32
inline constexpr char PathDelim = '\\';
#else
inline constexpr char PathDelim = '/';
#endif

// folder + name with exactly one delimiter between them when the folder does
// not already end with one. The name is used as given; callers that take names
// from a package check them with IsPlainFileName first.
std::string JoinPath(std::string_view folder, std::string_view name, char delim = PathDelim);

// True for a name that stays inside the folder it is joined to on every
// platform we write files on: not empty, not "." or "..", no path separator,
// drive colon, wildcard or other character Windows refuses in names, no
// control character, and not one of Windows' device names (CON, NUL, COM1...),
// which would open a device instead of a file.
bool IsPlainFileName(std::string_view name);

// The system's temporary folder, ending with the path delimiter.
std::string TempFolderPath();

// This program's folder among the user's own local data, ending with the
// path delimiter, or "" when the system does not say where that is: the
// local application data folder and "Pixvane" on Windows, $XDG_DATA_HOME
// (or ~/.local/share) and "pixvane" elsewhere. It may not exist yet.
std::string UserDataFolderPath();

// Makes the folder (its parent must exist); true when it exists afterwards.
bool CreateFolder(std::string_view path);

// The folder part of a path including its final delimiter ("" when none).
std::string ExtractFilePath(std::string_view path);
// The part after the folder.
std::string ExtractFileName(std::string_view path);

}  // namespace pixvane
