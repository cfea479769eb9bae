#include "tools/pixvane/PlayCommand.h"

#include <cstdlib>
#include <memory>

#include "host/linux/LinuxPlayer.h"
#include "maker/ToolError.h"

namespace pixvane::tool {

using namespace pixvane::maker;
namespace {

struct TPlayArguments {
  std::filesystem::path Saver;
  bool Window = false, Root = false, Mute = false;
  std::string WindowId, Size;
};

// XSCREENSAVER_WINDOW names the window to draw in even where the programs
// line says -root, as hacks that draw on the root window find it there.
TPlayOptions Resolve(const TPlayArguments& a) {
  TPlayOptions options;
  options.Saver = a.Saver;
  options.Mute = a.Mute;
  const char* handed = std::getenv("XSCREENSAVER_WINDOW");
  std::string id = a.WindowId;
  if (id.empty() && !a.Window && handed && *handed) id = handed;
  if (!id.empty()) {
    std::optional<uint64_t> window = ParseWindowId(id);
    if (!window) throw EToolError("not a window id: \"" + id + "\"");
    options.Target = TPlayTarget::WindowId;
    options.WindowId = *window;
  } else if (a.Root) {
    options.Target = TPlayTarget::Root;
  } else if (a.Window) {
    options.Target = TPlayTarget::Window;
  }
  if (!a.Size.empty()) {
    std::optional<std::pair<int32_t, int32_t>> size = ParseSize(a.Size);
    if (!size)
      throw EToolError("the size must be WxH, each side 16 to 16384, not \"" + a.Size + "\"");
    if (options.Target == TPlayTarget::WindowId || options.Target == TPlayTarget::Root)
      throw EToolError("--size is for the screen and --window; another window has its own size");
    options.Width = size->first;
    options.Height = size->second;
  }
  return options;
}

}  // namespace

std::optional<std::pair<int32_t, int32_t>> ParseSize(const std::string& text) {
  size_t x = text.find_first_of("xX");
  if (x == std::string::npos || x == 0 || x + 1 == text.size()) return std::nullopt;
  auto side = [](const std::string& digits) -> std::optional<int32_t> {
    if (digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
      return std::nullopt;
    int32_t value = std::stoi(digits);
    if (value < 16 || value > 16384) return std::nullopt;
    return value;
  };
  std::optional<int32_t> width = side(text.substr(0, x)), height = side(text.substr(x + 1));
  if (!width || !height) return std::nullopt;
  return std::make_pair(*width, *height);
}

std::optional<uint64_t> ParseWindowId(const std::string& text) {
  bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  std::string digits = hex ? text.substr(2) : text;
  const char* allowed = hex ? "0123456789abcdefABCDEF" : "0123456789";
  if (digits.empty() || digits.size() > 16 ||
      digits.find_first_not_of(allowed) != std::string::npos)
    return std::nullopt;
  uint64_t id = std::strtoull(digits.c_str(), nullptr, hex ? 16 : 10);
  if (id == 0 || id > UINT32_MAX) return std::nullopt;  // X ids are 29 bits
  return id;
}

std::vector<std::string> WithXScreenSaverForms(std::vector<std::string> arguments) {
  if (arguments.size() < 2 || arguments[1] != "play") return arguments;
  for (size_t i = 2; i < arguments.size(); ++i)
    if (arguments[i] == "-root" || arguments[i] == "-window-id" || arguments[i] == "-window" ||
        arguments[i] == "-mute")
      arguments[i] = "-" + arguments[i];
  return arguments;
}

void AddPlayCommand(TCommandLine& line) {
  auto a = std::make_shared<TPlayArguments>();
  CLI::App* command = line.AddCommand(
      line.Tool(), "play",
      "Play a saver's show on this screen, in a window, or as an XScreenSaver hack", [a] {
        PlaySaver(Resolve(*a));
        return 0;
      });
  AddPath(command, "SAVER", a->Saver, "The saver (.scr)")->required()->type_name("SAVER");
  CLI::Option* window = command->add_flag("--window", a->Window, "Play in a normal window");
  CLI::Option* root = command->add_flag("--root", a->Root, "Draw on the root window");
  CLI::Option* id = command->add_option("--window-id", a->WindowId,
                                        "Draw into this X window (XScreenSaver's hack window)");
  window->excludes(root)->excludes(id);
  root->excludes(id);
  command->add_option("--size", a->Size,
                      "The show's size, WxH (default: the screen; 800x600 "
                      "with --window)");
  command->add_flag("--mute", a->Mute, "No music, whatever the saver and the user chose");
}

}  // namespace pixvane::tool
