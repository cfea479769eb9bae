#include <iostream>
#include <memory>

#include "maker/LinuxInstall.h"
#include "maker/Platform.h"
#include "tools/pixvane/Commands.h"

namespace pixvane::tool {

namespace fs = std::filesystem;
using namespace pixvane::maker;

namespace {

struct TInstall {
  fs::path Saver;
  bool Select = false, Uninstall = false;
};

int Install(const TInstall& options) {
  try {
    const TInstallPlaces places = TInstallPlaces::FromEnvironment();
    if (options.Uninstall) {
      TInstallResult result = UninstallSaver(options.Saver, places);
      std::cout << "Removed " << PathForMessage(result.Copy)
                << (result.Index >= 0 ? " and its line in ~/.xscreensaver" : "")
                << " (the file before is ~/.xscreensaver.bak)\n";
      return 0;
    }
    TInstallResult result = InstallSaver(options.Saver, ExecutablePath(), options.Select, places);
    std::cout << (result.Replaced ? "Updated" : "Installed") << " \"" << result.Name << "\" as "
              << PathForMessage(result.Copy) << ", XScreenSaver's saver number " << result.Index + 1
              << (options.Select ? ", selected" : "") << " (try it: xscreensaver-command -select "
              << result.Index + 1 << "; the file before is ~/.xscreensaver.bak)\n";
    return 0;
  } catch (const ENoXScreenSaverPrefs& e) {
    std::cerr << "pixvane: " << e.what() << "\n";
    return ExitBadUsage;
  }
}

}  // namespace

void AddInstallCommand(TCommandLine& line) {
  auto options = std::make_shared<TInstall>();
  CLI::App* command =
      line.AddCommand(line.Tool(), "install",
                      "Install a saver for XScreenSaver: copy it and add it to ~/.xscreensaver",
                      [options] { return Install(*options); });
  AddPath(command, "SAVER", options->Saver, "The saver (.scr)")->required()->type_name("SAVER");
  command->add_flag("--select", options->Select, "Make it the one saver XScreenSaver shows");
  command->add_flag("--uninstall", options->Uninstall,
                    "Remove its line from ~/.xscreensaver and its installed copy");
}

}  // namespace pixvane::tool
