#include "tools/pixvane/Commands.h"

#include <iostream>
#include <memory>

#include "maker/Build.h"
#include "maker/Platform.h"
#include "maker/ToolError.h"
#include "tools/pixvane/Progress.h"

namespace pixvane::tool {

namespace {

namespace fs = std::filesystem;
using namespace pixvane::maker;

std::string Plural(int count, const std::string& word) {
  return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

int Build(const TBuildOptions& options) {
  TProgressLine line(std::cerr, StderrIsTerminal());
  TBuildResult result = RunBuild(
      options,
      [&](int index, int count, const std::string& name) {
        line.Show("Adding picture " + std::to_string(index) + "/" + std::to_string(count) + ": " +
                  name);
      },
      [&](const std::string& warning) {
        line.Finish();
        std::cerr << "pixvane: warning: " << warning << "\n";
      });
  line.Finish();
  std::cout << "Wrote " << PathForMessage(options.Output) << ": "
            << Plural(result.Pictures, "picture") << ", " << Plural(result.Sounds, "sound") << ", "
            << Plural(result.Flash, "Flash file") << "; " << result.FileSize << " bytes, package "
            << result.PackageLength << " bytes";
  if (result.Turned > 0) std::cout << "; " << result.Turned << " turned upright";
  if (result.Reduced > 0)
    std::cout << "; " << result.Reduced << " reduced to max_size, " << result.BytesSaved
              << " bytes saved";
  if (result.Sequential > 0)
    std::cout << "; " << result.Sequential
              << " stored as sequential JPEG (same pixels, quicker to show)";
  if (result.DefaultEffects)
    std::cout << "; transitions " << DefaultEffectsText()
              << ", the tool's default list, as the manifest names no effects";
  std::cout << "\n";
  return 0;
}

}  // namespace

void AddBuildCommand(TCommandLine& line) {
  auto options = std::make_shared<TBuildOptions>();
  CLI::App* command =
      line.AddCommand(line.Tool(), "build", "Build a screen saver from a TOML manifest",
                      [options] { return Build(*options); });
  AddPath(command, "MANIFEST", options->Manifest, "The manifest (pixvane.toml)")
      ->required()
      ->type_name("FILE");
  AddPath(command, "-o,--output", options->Output, "The saver file to write")
      ->required()
      ->type_name("OUT");
  AddPath(command, "--player", options->Player,
          "The player executable (default: pixvane.scr beside this tool)")
      ->type_name("PLAYER");
}

}  // namespace pixvane::tool
