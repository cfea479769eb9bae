#pragma once
#include <CLI/CLI.hpp>
#include <filesystem>

#include "tools/pixvane/SkinCommand.h"

namespace pixvane::tool {

// The `pixvane skin` commands on the tool's command line: build, inspect,
// text and render.
struct TSkinArguments {
  CLI::App* Skin = nullptr;
  CLI::App *Build = nullptr, *Inspect = nullptr, *Text = nullptr, *Render = nullptr;
  std::filesystem::path Input, Output;
  int Scale = 100;
  bool Json = false, Stream = false;
  std::string Size;
  TSkinRenderOptions RenderOptions;
};

void AddSkinCommands(CLI::App& app, TSkinArguments& arguments);
// Runs the skin command that was parsed; false when none was.
bool RunSkinCommands(const TSkinArguments& arguments, int& exitCode);

}  // namespace pixvane::tool
