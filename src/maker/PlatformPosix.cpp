#include <unistd.h>

#include "maker/Platform.h"

namespace pixvane::maker {

std::filesystem::path ExecutablePath() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : path;
}

bool StderrIsTerminal() {
  return isatty(STDERR_FILENO) != 0;
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

void UseUtf8Console() {}

}  // namespace pixvane::maker
