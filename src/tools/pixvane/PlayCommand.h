#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/pixvane/CommandLine.h"

namespace pixvane::tool {

// `play SAVER`: the saver's show on this screen, in a window, or in the
// window XScreenSaver hands a hack. The one command that reaches a host of
// the show (the native player).
void AddPlayCommand(TCommandLine& line);

// XScreenSaver passes its options with one dash (-root, -window-id ID); the
// command line knows them with two. The arguments of a play command with
// those forms made the long ones, others as they are.
std::vector<std::string> WithXScreenSaverForms(std::vector<std::string> arguments);

// "WxH", each side 16 to 16384; nothing for anything else.
std::optional<std::pair<int32_t, int32_t>> ParseSize(const std::string& text);
// An X window id as XScreenSaver writes it: decimal, or hex after 0x.
std::optional<uint64_t> ParseWindowId(const std::string& text);

}  // namespace pixvane::tool
