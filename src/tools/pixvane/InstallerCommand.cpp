#include <iostream>
#include <memory>

#include "maker/Installer.h"
#include "maker/Platform.h"
#include "maker/ToolError.h"
#include "tools/pixvane/Commands.h"
#include "tools/pixvane/Progress.h"

namespace pixvane::tool {

namespace {

using namespace pixvane::maker;

int MakeInstallerFile(const TInstallerOptions& options) {
  TProgressLine line(std::cerr, StderrIsTerminal());
  TInstallerResult result =
      MakeInstaller(options, [&](const std::string& step) { line.Show(step); });
  line.Finish();
  std::cout << "Wrote " << PathForMessage(result.Output) << ": " << result.FileSize << " bytes\n";
  return 0;
}

}  // namespace

void AddInstallerCommand(TCommandLine& line) {
  auto options = std::make_shared<TInstallerOptions>();
  CLI::App* command = line.AddCommand(
      line.Tool(), "installer",
      "Make a setup program (NAME Setup.exe) or, with --msi, an MSI package of a saver",
      [options] { return MakeInstallerFile(*options); });
  AddPath(command, "SAVER", options->Saver, "The saver (.scr)")->required()->type_name("SAVER");
  AddPath(command, "-o,--output", options->OutputFolder,
          "The folder to write into (default: the saver's folder)")
      ->type_name("DIR");
  command->add_flag("--msi", options->Msi, "Make an MSI for deploying to many computers");
  AddSignOptions(command, options->Sign, "the installer and the saver inside");
}

}  // namespace pixvane::tool
