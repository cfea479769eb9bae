#include "studio/Studio.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <iostream>
#include <sstream>
#include <thread>

#include "maker/Build.h"
#include "maker/ToolError.h"
#include "studio/SaverProject.h"
#include "studio/StudioGuard.h"
#include "studio/StudioPlatform.h"
#include "studio/StudioProject.h"
#include "studio/StudioServer.h"

namespace pixvane::studio {
namespace {

namespace fs = std::filesystem;

std::atomic<bool> Interrupted{false};

extern "C" void OnInterrupt(int) {
  Interrupted = true;
}

bool IsSaver(const fs::path& path) {
  std::string extension = maker::Utf8FromPath(path.extension());
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
  out << "Made the project " << maker::PathForMessage(folder) << " from "
      << maker::PathForMessage(given) << "\n";
  return folder;
}

int RunStudio(const TStudioOptions& options, std::ostream& out) {
  fs::path folder = ProjectFolder(options.Folder, std::cerr);
  TStudioProject project(folder, maker::ResolvePlayer(options.Player));
  TStudioServer server(project, NewAccessToken());
  try {
    server.Bind(options.Port);
  } catch (const maker::EToolError& e) {
    // Said at once, with the usage error's code: the port is the caller's choice.
    std::cerr << "pixvane: " << e.what() << std::endl;
    return 2;
  }
  out << "Pixvane studio for " << maker::PathForMessage(project.Folder()) << ": "
      << server.Address() << std::endl;
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

}  // namespace pixvane::studio
