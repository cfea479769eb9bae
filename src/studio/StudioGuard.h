#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace pixvane::studio {

// A fresh access token for one run of the studio: 128 random bits as 32
// lowercase hex digits.
std::string NewAccessToken();

// Compares a token the way a password is compared: the time taken does not
// tell how much of it matched.
bool TokensMatch(const std::string& given, const std::string& token);

// True when a request's Host header names this machine's loopback address
// or localhost, with the port we listen on: a page that rebinds its own
// domain name to 127.0.0.1 still sends its own name and is refused.
bool HostAllowed(const std::string& host, int port);

// The file a relative name from a request stands for inside folder, or
// nothing when the name could reach outside it: "..", absolute paths, drive
// letters, UNC and device names, backslashes, control characters. The
// name is taken as it arrives after one URL decoding and never decoded
// again, so "%2e%2e" is a file of that name, as an upload may make one.
std::optional<std::filesystem::path> PathInside(const std::filesystem::path& folder,
                                                const std::string& name);

// True when path, with every symbolic link, junction or other reparse point
// on the way resolved, still lies inside folder: a link in the project that
// leads elsewhere is neither followed nor served. A path that does not exist
// yet counts by what exists of it.
bool ResolvesInside(const std::filesystem::path& folder, const std::filesystem::path& path);

// The file name for an upload as its maker wrote it (UTF-8), with only what
// Windows forbids replaced by "_": the characters <>:"/\|?*, control
// characters, a device name (CON, NUL, COM1, also with an extension) and
// trailing dots or spaces. Any path before the name is dropped, and so are
// leading dots; the name before its extension (a last dot and at most seven
// characters) is cut to 120 bytes on a character boundary. Empty when
// nothing usable is left.
std::string SafeFileName(const std::string& given);

}  // namespace pixvane::studio
