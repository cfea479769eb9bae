#include <shlobj.h>
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

std::string UserDataFolderPath() {
  char buffer[MAX_PATH];
  if (SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer) != S_OK)
    return std::string();
  return JoinPath(buffer, "Pixvane") + PathDelim;
}

bool CreateFolder(std::string_view path) {
  std::string name(path);
  CreateDirectoryA(name.c_str(), nullptr);  // fails harmlessly when it is there
  DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace pixvane
