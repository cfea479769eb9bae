#include "host/CommandLine.h"

#include "base/AsciiText.h"
#include "base/IntText.h"

namespace pixvane {
namespace {

TSaverMode saverMode = TSaverMode::smSaver;

// "/X", "-X" or "X" at the start of an upper-cased argument.
bool IsSwitch(std::string_view argument, char letter) {
  if (argument.empty()) return false;
  if (argument[0] == letter) return true;
  return argument.size() >= 2 && (argument[0] == '/' || argument[0] == '-') &&
         argument[1] == letter;
}

}  // namespace

TSaverMode SaverMode() {
  return saverMode;
}
void SetSaverMode(TSaverMode mode) {
  saverMode = mode;
}

TCommandLine MakeCommandLine(std::string_view first, std::string_view second) {
  return {AsciiUpperCase(first), AsciiUpperCase(second)};
}

TSaverMode ModeFromCommandLine(const TCommandLine& commandLine) {
  TSaverMode mode = TSaverMode::smSaver;
  const std::string& first = commandLine.First;
  if (IsSwitch(first, 'A')) mode = TSaverMode::smSetPassword;
  if (IsSwitch(first, 'P')) mode = TSaverMode::smPreview;
  if (IsSwitch(first, 'C') || first.empty()) mode = TSaverMode::smConfig;
  return mode;
}

std::optional<uint32_t> ParseWindowHandle(std::string_view text) {
  if (auto value = ParseInt(text)) return static_cast<uint32_t>(*value);
  // Beyond the signed range: plain decimal digits up to 4294967295 only.
  std::string_view digits = text;
  while (!digits.empty() && digits.front() == ' ') digits.remove_prefix(1);
  if (digits.empty() || digits.size() > 10) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > UINT32_MAX) return std::nullopt;
  return static_cast<uint32_t>(value);
}

std::string InstanceMarkerName(std::string_view exePath) {
  size_t slash = exePath.find_last_of("\\/:");
  std::string_view name = slash == std::string_view::npos ? exePath : exePath.substr(slash + 1);
  return std::string(name) + "Semaphore";
}

std::string PasswordLibraryPath(std::string_view systemFolder) {
  std::string path(systemFolder);
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path + "MPR.DLL";
}

}  // namespace pixvane
