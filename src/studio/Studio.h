#pragma once
#include <filesystem>
#include <ostream>

namespace pixvane::studio {

struct TStudioOptions {
  std::filesystem::path Folder = ".";  // a project folder, or a saver to edit
  int Port = 0;                        // 0: a free port
  bool NoOpen = false;
  std::filesystem::path Player;  // empty: pixvane.scr beside the tool
};

// The project folder for a saver: SAVER's name beside it (NAME-2, ... when
// that is taken), with its pictures and sounds extracted and a manifest of
// its settings. A folder is its own project.
std::filesystem::path ProjectFolder(const std::filesystem::path& given, std::ostream& out);

// Serves the studio for options.Folder until interrupted (Ctrl+C), printing
// the address to out as one line; returns the exit code.
int RunStudio(const TStudioOptions& options, std::ostream& out);

}  // namespace pixvane::studio
