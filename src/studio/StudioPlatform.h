#pragma once
#include <filesystem>
#include <string>

namespace pixvane::studio {

// Opens address in the user's default browser, without waiting for it;
// false when there is no way to (the address is printed anyway).
bool OpenBrowser(const std::string& address);

// True for a reparse point that resolving a path does not see through, so
// it cannot be told where it leads: on Windows any junction, symbolic link
// or other reparse point; never on POSIX, where resolving follows links.
bool IsUnresolvedLink(const std::filesystem::path& path);

// Creates an empty file at path when no file of that name exists, in one
// step no other creator can come between; false when the name is taken.
bool CreateExclusive(const std::filesystem::path& path);

}  // namespace pixvane::studio
