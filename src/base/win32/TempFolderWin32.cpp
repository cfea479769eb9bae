#include <windows.h>

#include "base/Paths.h"

namespace pixvane {

std::string TempFolderPath() {
  // The platform reports at most 255 characters here; an empty answer means
  // the folder is unknown and names are then joined to the current folder.
  char buffer[256];
  DWORD length = GetTempPathA(sizeof buffer, buffer);
  if (length == 0 || length >= sizeof buffer) return std::string();
  return std::string(buffer, length);
}

}  // namespace pixvane
