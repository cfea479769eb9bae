#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pixvane::maker {

// What a file is, told by its first bytes, for messages that say what was
// given instead of what was wanted: "a PNG picture", "a Windows program".
// Empty when the bytes match none of the kinds a maker is likely to pass.
std::string DescribeFileKind(const std::vector<uint8_t>& bytes);

// True when the file is a Windows program carrying the player's version
// resource, so the tool never appends a package to anything else.
bool IsPlayer(const std::vector<uint8_t>& bytes);

// The text the player's version resource gives as FileDescription
// (src/host/win32/pixvane.rc.in).
inline constexpr char PlayerDescription[] = "Pixvane photo screen saver";

}  // namespace pixvane::maker
