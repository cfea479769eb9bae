#include "base/Paths.h"

#include <array>

#include "base/AsciiText.h"

namespace pixvane {

std::string JoinPath(std::string_view folder, std::string_view name, char delim) {
  std::string path(folder);
  // An unknown folder (empty) leaves the bare name, relative to the current folder.
  if (!path.empty() && path.back() != delim) path += delim;
  path += name;
  return path;
}

namespace {

bool IsDeviceName(std::string_view name) {
  // Windows maps these to devices whatever the extension ("con.wav" is CON).
  std::string stem = AsciiUpperCase(name.substr(0, name.find('.')));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  static constexpr std::array<std::string_view, 4> Plain = {"CON", "PRN", "AUX", "NUL"};
  for (auto device : Plain)
    if (stem == device) return true;
  if (stem == "CONIN$" || stem == "CONOUT$") return true;
  // COM and LPT with a digit, superscript 1 to 3 included (Windows-1252 B9, B2, B3).
  if (stem.size() != 4 || (stem.compare(0, 3, "COM") != 0 && stem.compare(0, 3, "LPT") != 0))
    return false;
  unsigned char digit = static_cast<unsigned char>(stem[3]);
  return (digit >= '0' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
}

}  // namespace

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 32) return false;
    if (std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos) return false;
  }
  return !IsDeviceName(name);
}

std::string ExtractFilePath(std::string_view path) {
  size_t cut = path.find_last_of("/\\:");
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::string ExtractFileName(std::string_view path) {
  return std::string(path.substr(ExtractFilePath(path).size()));
}

}  // namespace pixvane
