#include <cstdlib>

#include "base/Paths.h"

namespace pixvane {

std::string TempFolderPath() {
  const char* dir = std::getenv("TMPDIR");
  std::string path = dir && *dir ? dir : "/tmp";
  if (path.back() != PathDelim) path += PathDelim;
  return path;
}

}  // namespace pixvane
