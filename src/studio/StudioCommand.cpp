#include "studio/StudioCommand.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <iostream>
#include <memory>
#include <sstream>
#include <thread>

#include "studio/SaverProject.h"
#include "studio/StudioGuard.h"
#include "studio/StudioPlatform.h"
#include "studio/StudioProject.h"
#include "studio/StudioServer.h"
#include "tools/pixvane/BuildCommand.h"
#include "tools/pixvane/ToolError.h"

namespace pixvane::studio {
namespace {

namespace fs = std::filesystem;

std::atomic<bool> Interrupted{false};

extern "C" void OnInterrupt(int) {
  Interrupted = true;
}

bool IsSaver(const fs::path& path) {
  std::string extension = tool::Utf8FromPath(path.extension());
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".scr" && fs::is_regular_file(path);
}

}  // namespace

fs::path ProjectFolder(const fs::path& given, std::ostream& out) {
  if (!IsSaver(given)) return given;
  fs::path folder = fs::absolute(given).replace_extension();
  for (int n = 2; fs::exists(folder); ++n)
    folder = fs::absolute(given).replace_extension().concat("-" + std::to_string(n));
  std::ostringstream listing;  // extract's line per file; the summary is enough here
  MakeProjectFromSaver(given, folder, listing);
  out << "Made the project " << tool::PathForMessage(folder) << " from "
      << tool::PathForMessage(given) << "\n";
  return folder;
}

int RunStudio(const TStudioOptions& options, std::ostream& out) {
  fs::path folder = ProjectFolder(options.Folder, std::cerr);
  TStudioProject project(folder, tool::ResolvePlayer(options.Player));
  TStudioServer server(project, NewAccessToken());
  server.Bind(options.Port);
  out << "Pixvane studio for " << tool::PathForMessage(project.Folder()) << ": " << server.Address()
      << std::endl;
  if (!options.NoOpen) OpenBrowser(server.Address());

  // Ctrl+C only raises a flag; a watcher stops the server from a thread
  // where that is safe, and the destructors take the temporary files away.
  Interrupted = false;
  auto previousInt = std::signal(SIGINT, OnInterrupt);
  auto previousTerm = std::signal(SIGTERM, OnInterrupt);
  std::atomic<bool> served{false};
  std::thread watcher([&] {
    while (!Interrupted && !served) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    server.Stop();
  });
  server.Serve();
  served = true;
  watcher.join();
  std::signal(SIGINT, previousInt);
  std::signal(SIGTERM, previousTerm);
  return 0;
}

void AddStudioCommand(tool::TCommandLine& line) {
  auto options = std::make_shared<TStudioOptions>();
  CLI::App* command = line.AddCommand(
      line.Tool(), "studio",
      "Make a saver in the browser: serve the studio for FOLDER (or a saver) on this machine",
      [options] { return RunStudio(*options, std::cout); });
  tool::AddPath(command, "FOLDER", options->Folder,
                "The project folder (default: the current one), or a saver to edit")
      ->type_name("FOLDER");
  command->add_option("--port", options->Port, "The port to listen on (default: a free one)")
      ->check(CLI::Range(0, 65535));
  command->add_flag("--no-open", options->NoOpen, "Print the address without opening a browser");
  tool::AddPath(command, "--player", options->Player,
                "The player executable (default: pixvane.scr beside this tool)")
      ->type_name("PLAYER");
}

}  // namespace pixvane::studio
