#include "tools/pixvane/CommandLine.h"

#include <algorithm>
#include <iostream>

#include "maker/Platform.h"
#include "maker/Spelling.h"
#include "maker/ToolError.h"

namespace pixvane::tool {

using namespace pixvane::maker;
namespace {

std::vector<CLI::App*> CommandsOf(CLI::App& app) {
  return app.get_subcommands([](CLI::App*) { return true; });
}

// "build, inspect and extract".
std::string Listed(const std::vector<std::string>& names) {
  std::string text;
  for (size_t i = 0; i < names.size(); ++i)
    text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
  return text;
}

}  // namespace

TCommandLine::TCommandLine(const std::string& description, const std::string& name)
    : FApp(description, name) {
  FApp.require_subcommand(1);
}

CLI::App* TCommandLine::AddCommand(CLI::App& parent, const std::string& name,
                                   const std::string& description, TCommandHandler handler) {
  CLI::App* command = parent.add_subcommand(name, description);
  if (handler)
    FHandlers.emplace_back(command, std::move(handler));
  else
    command->require_subcommand(1);
  return command;
}

void TCommandLine::AddElsewhere(std::vector<std::string> names, std::string self,
                                std::string where) {
  FElsewhere = std::move(names);
  FSelf = std::move(self);
  FWhere = std::move(where);
}

int TCommandLine::Usage(const std::string& problem, const CLI::App& command) {
  std::cerr << "pixvane: " << problem << "\n\n" << command.help();
  return ExitBadUsage;
}

bool TCommandLine::CheckCommandNames(const std::vector<std::string>& arguments) {
  CLI::App* app = &FApp;
  std::string path;
  for (size_t i = 1; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    std::vector<CLI::App*> commands = CommandsOf(*app);
    if (commands.empty() || word.empty() || word[0] == '-') return true;
    std::vector<std::string> names;
    for (CLI::App* command : commands) names.push_back(command->get_name());
    auto known = std::find(names.begin(), names.end(), word);
    if (known != names.end()) {
      app = commands[known - names.begin()];
      path += word + " ";
      continue;
    }
    if (app == &FApp && std::find(FElsewhere.begin(), FElsewhere.end(), word) != FElsewhere.end()) {
      Usage(FSelf + " has the commands " + Listed(names) + "; " + word + " is in " + FWhere, FApp);
      return false;
    }
    std::string problem = "there is no command \"" + path + word + "\"";
    std::vector<std::string> meant = ClosestNames(word, names);
    for (std::string& name : meant) name = path + name;
    if (!meant.empty()) problem += "; did you mean " + QuotedChoices(meant) + "?";
    Usage(problem, *app);
    return false;
  }
  return true;
}

int TCommandLine::Run(int argc, char** argv) {
  UseUtf8Console();
  std::vector<std::string> arguments = Utf8Arguments(argc, argv);
  if (!CheckCommandNames(arguments)) return ExitBadUsage;
  std::vector<const char*> pointers;
  for (const std::string& argument : arguments) pointers.push_back(argument.c_str());
  try {
    FApp.parse(static_cast<int>(pointers.size()), pointers.data());
  } catch (const CLI::CallForHelp& e) {
    return FApp.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return FApp.exit(e);
  } catch (const CLI::ParseError& e) {
    // The help of the command that was being parsed, else of the tool.
    return Usage(e.what(), FApp);
  }
  try {
    for (const auto& [command, handler] : FHandlers)
      if (command->parsed()) return handler();
  } catch (const std::exception& e) {
    // EToolError's text is complete; library failures we did not expect to
    // surface still get a clean line.
    std::cerr << "pixvane: " << e.what() << "\n";
    return ExitBadInput;
  }
  return ExitBadUsage;  // not reached: CLI11 requires a command
}

CLI::Option* AddPath(CLI::App* command, const std::string& name, std::filesystem::path& path,
                     const std::string& description) {
  return command->add_option_function<std::string>(
      name, [&path](const std::string& text) { path = PathFromUtf8(text); }, description);
}

}  // namespace pixvane::tool
