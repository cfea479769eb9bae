#pragma once
#include "tools/pixvane/CommandLine.h"

namespace pixvane::tool {

// The `pixvane skin` commands on the tool's command line: build, inspect,
// text and render, each with its options and handler.
void AddSkinCommands(TCommandLine& line);

}  // namespace pixvane::tool
