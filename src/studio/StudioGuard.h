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
// name is taken as it arrives after one URL decoding, so "%2e%2e" and its
// doubly encoded forms are never decoded into a way out.
std::optional<std::filesystem::path> PathInside(const std::filesystem::path& folder,
                                                const std::string& name);

// A plain file name for an upload, kept to letters, digits, "-", "_",
// "." and spaces of the name given (other characters become "_"), never
// starting with "." and at most 80 characters before its extension.
// Empty when nothing usable is left.
std::string SafeFileName(const std::string& given);

}  // namespace pixvane::studio
