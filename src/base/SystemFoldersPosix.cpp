#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/Paths.h"

namespace pixvane {
namespace {

std::string WithDelimiter(std::string path) {
  if (path.back() != PathDelim) path += PathDelim;
  return path;
}

}  // namespace

std::string TempFolderPath() {
  const char* dir = std::getenv("TMPDIR");
  return WithDelimiter(dir && *dir ? dir : "/tmp");
}

std::string UserDataFolderPath() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && *data) return WithDelimiter(data) + "pixvane/";
  const char* home = std::getenv("HOME");
  if (home && *home) return WithDelimiter(home) + ".local/share/pixvane/";
  return std::string();
}

bool CreateFolder(std::string_view path) {
  std::error_code error;
  std::filesystem::create_directory(std::filesystem::path(path), error);
  return std::filesystem::is_directory(std::filesystem::path(path), error);
}

}  // namespace pixvane
