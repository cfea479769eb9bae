#include <unistd.h>

#include "tools/pixvane/Platform.h"

namespace pixvane::tool {

std::filesystem::path ExecutablePath() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : path;
}

bool StderrIsTerminal() {
  return isatty(STDERR_FILENO) != 0;
}

}  // namespace pixvane::tool
