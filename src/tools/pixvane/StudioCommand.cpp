#include "tools/pixvane/Commands.h"

#include <iostream>
#include <memory>

#include "maker/ToolError.h"
#include "studio/Studio.h"

namespace pixvane::tool {

void AddStudioCommand(TCommandLine& line) {
  auto options = std::make_shared<studio::TStudioOptions>();
  CLI::App* command = line.AddCommand(
      line.Tool(), "studio",
      "Make a saver in the browser: serve the studio for FOLDER (or a saver) on this machine",
      [options] { return studio::RunStudio(*options, std::cout); });
  AddPath(command, "FOLDER", options->Folder,
          "The project folder (default: the current one), or a saver to edit")
      ->type_name("FOLDER");
  command->add_option("--port", options->Port, "The port to listen on (default: a free one)")
      ->check(CLI::Range(0, 65535));
  command->add_flag("--no-open", options->NoOpen, "Print the address without opening a browser");
  AddPath(command, "--player", options->Player,
          "The player executable (default: pixvane.scr beside this tool)")
      ->type_name("PLAYER");
}

}  // namespace pixvane::tool
