#pragma once
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace pixvane::maker {

struct TExtractResult {
  std::vector<std::filesystem::path> Written;
  // The same files by kind, each in the saver's order.
  std::vector<std::filesystem::path> Pictures, Sounds, Flash;
  // One text per item that could not be read or written ("picture 3: JPEG
  // error #53"); the rest was extracted all the same.
  std::vector<std::string> Failures;
};

// Writes the package's pictures (as their JPEG files), sounds and Flash files
// into folder, creating it when needed, and prints a line per file to out.
// Pictures keep their stored file name where it is a plain, unused name, and
// become picture-NNN.jpg otherwise. A sound or Flash name that would leave
// the folder fails with EToolError before anything is written.
TExtractResult RunExtract(const std::filesystem::path& file, const std::filesystem::path& folder,
                          std::ostream& out);

}  // namespace pixvane::maker
