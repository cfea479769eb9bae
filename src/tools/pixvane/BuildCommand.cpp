#include "tools/pixvane/Commands.h"

#include <iostream>
#include <memory>

#include "base/CodePage.h"
#include "maker/Build.h"
#include "maker/CodeSigning.h"
#include "maker/PackageFile.h"
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

struct TBuildCommand {
  TBuildOptions Build;
  TSignOptions Sign;
};

// The saver's own title and web address go into the signature, which
// Windows shows when it asks whether to run the program.
void Sign(const TBuildOptions& build, TSignOptions sign) {
  const TSSFileLocations settings = OpenPackage(build.Output)->Settings;
  sign.Description = AnsiToUtf8(settings.Title);
  sign.Url = AnsiToUtf8(settings.Web);
  try {
    SignFile(build.Output, sign);
  } catch (const EToolError& e) {
    throw EToolError(std::string(e.what()) + " (the saver is written, unsigned)");
  }
}

int Build(const TBuildCommand& command) {
  const TBuildOptions& options = command.Build;
  if (!command.Sign.Pfx.empty()) CheckSigning(command.Sign);
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
  if (!command.Sign.Pfx.empty()) {
    Sign(options, command.Sign);
    std::cout << "Signed " << PathForMessage(options.Output) << " with "
              << PathForMessage(command.Sign.Pfx) << "\n";
  }
  return 0;
}

}  // namespace

void AddBuildCommand(TCommandLine& line) {
  auto options = std::make_shared<TBuildCommand>();
  CLI::App* command =
      line.AddCommand(line.Tool(), "build", "Build a screen saver from a TOML manifest",
                      [options] { return Build(*options); });
  AddPath(command, "MANIFEST", options->Build.Manifest, "The manifest (pixvane.toml)")
      ->required()
      ->type_name("FILE");
  AddPath(command, "-o,--output", options->Build.Output, "The saver file to write")
      ->required()
      ->type_name("OUT");
  AddPath(command, "--player", options->Build.Player,
          "The player executable (default: pixvane.scr beside this tool)")
      ->type_name("PLAYER");
  AddSignOptions(command, options->Sign, "the saver");
}

void AddSignOptions(CLI::App* command, TSignOptions& sign, const std::string& what) {
  CLI::Option* pfx = AddPath(command, "--sign", sign.Pfx,
                             "Sign " + what +
                                 " with Authenticode: the certificate and key (PFX file), "
                                 "through osslsigncode")
                         ->type_name("PFX");
  AddPath(command, "--sign-password-file", sign.PasswordFile,
          "A file whose first line is the PFX file's password")
      ->type_name("FILE")
      ->needs(pfx);
}

}  // namespace pixvane::tool
