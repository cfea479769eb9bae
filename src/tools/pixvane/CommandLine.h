#pragma once
#include <CLI/CLI.hpp>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace pixvane::tool {

inline constexpr int ExitBadInput = 1;
inline constexpr int ExitBadUsage = 2;

// Runs a command once its options are parsed; returns the exit code.
using TCommandHandler = std::function<int()>;

// The tool's command line. Each command registers its own options and its
// handler; Run parses the arguments, runs the handler of the command given
// and turns failures into one message and an exit code: 0 success, 1 bad
// input (EToolError and the like), 2 bad usage, with the usage of the
// command, or of the tool.
class TCommandLine {
 public:
  TCommandLine(const std::string& description, const std::string& name);

  CLI::App& Tool() { return FApp; }
  // A command under parent (the tool, or a command of commands such as
  // `skin`); handler may be empty for a command of commands.
  CLI::App* AddCommand(CLI::App& parent, const std::string& name, const std::string& description,
                       TCommandHandler handler);
  // Commands this build of the tool does not have, for a maker who tries
  // one: "THIS has the commands build, ...; render is in WHERE".
  void AddElsewhere(std::vector<std::string> names, std::string self, std::string where);

  int Run(int argc, char** argv);

 private:
  // A command name that names no command ("biuld") is bad usage with a
  // suggestion; CLI11 alone would only say that a command is required.
  bool CheckCommandNames(const std::vector<std::string>& arguments);
  int Usage(const std::string& problem, const CLI::App& command);

  CLI::App FApp;
  std::vector<std::pair<CLI::App*, TCommandHandler>> FHandlers;
  std::vector<std::string> FElsewhere;
  std::string FSelf, FWhere;
};

// A path option or argument. CLI11 would make the path from the text with
// the C library's narrow conversion, which on Windows is not UTF-8; the text
// is UTF-8 (Utf8Arguments), so the path is made from it here.
CLI::Option* AddPath(CLI::App* command, const std::string& name, std::filesystem::path& path,
                     const std::string& description);

}  // namespace pixvane::tool
