#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pixvane {

// What the screen-saver machinery asked for. Stored in one byte, values as
// the saver window expects them when it decides how to end.
enum class TSaverMode : uint8_t {
  smSetPassword = 0,
  smPreview = 1,
  smConfig = 2,
  smSaver = 3,
};

// The process-wide start mode: smSaver until the command line is read, then
// only read (the saver window asks it when the user wants out).
TSaverMode SaverMode();
void SetSaverMode(TSaverMode mode);

// The first two arguments as the platform split them, upper-cased (ASCII
// letters only: the switches are ASCII and a handle is digits). A missing
// argument is the empty text.
struct TCommandLine {
  std::string First;
  std::string Second;
};

TCommandLine MakeCommandLine(std::string_view first, std::string_view second);

// The three tests of the command line, in their order; anything they do not
// match leaves the saver mode. Only the first one or two characters of the
// first argument count, so "/c:1234" is the setup dialog and "Apple" asks
// for a new password.
TSaverMode ModeFromCommandLine(const TCommandLine& commandLine);

// The window handle in the second argument of "/p" and "/a". The integer
// syntax of the package, plus unsigned 32-bit decimals: a handle is a 32-bit
// value and a caller that prints it unsigned must not lose the preview.
// Nothing when the text is no number.
std::optional<uint32_t> ParseWindowHandle(std::string_view text);

// The instance marker's name: the executable's file name without its folder,
// as the platform spells it, followed by "Semaphore". The folder is left out
// on purpose, so two copies of one saver in different folders exclude each
// other.
std::string InstanceMarkerName(std::string_view exePath);

// The password library in the system folder: one backslash between them.
std::string PasswordLibraryPath(std::string_view systemFolder);

}  // namespace pixvane
