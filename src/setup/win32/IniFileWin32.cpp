#include <windows.h>

#include "base/Errors.h"
#include "setup/IniFile.h"
#include "setup/IniText.h"

namespace pixvane {
namespace {

// A bare file name would be looked up in the Windows folder by the profile
// functions; keep it in the current folder, where the other builds look.
std::string ProfilePath(const std::string& path) {
  if (path.find_first_of("\\/:") == std::string::npos) return ".\\" + path;
  return path;
}

// The profile functions answer the default for a missing key and cannot say
// whether the key was there. Two defaults no trimmed value can equal both
// settle it: only a missing key gives back each of them.
std::optional<std::string> ReadProfileString(const std::string& path, const std::string& section,
                                             const std::string& key) {
  char buffer[MaxIniValueLength + 1];
  for (const char* absent : {"\x01", "\x02"}) {
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), absent, buffer,
                                            sizeof buffer, path.c_str());
    std::string value(buffer, length);
    if (value != absent) return value;
  }
  return std::nullopt;
}

}  // namespace

bool TIniFile::Exists() const {
  DWORD attributes = GetFileAttributesA(FPath.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> TIniFile::ReadString(std::string_view section,
                                                std::string_view key) const {
  return ReadProfileString(ProfilePath(FPath), std::string(section), std::string(key));
}

void TIniFile::WriteString(std::string_view section, std::string_view key,
                           std::string_view value) const {
  const std::string path = ProfilePath(FPath);
  // Windows refuses to write a read-only file to everybody, but Wine running
  // as root reports the attribute and writes anyway; go by the attribute.
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    throw EFileError(Format("Unable to write to %s", FPath));

  const std::string sectionText(section), keyText(key), valueText(value);
  BOOL written = WritePrivateProfileStringA(sectionText.c_str(), keyText.c_str(), valueText.c_str(),
                                            path.c_str());
  // Some versions report success while the change sits in their cache because
  // the file could not be created. Flushing drops the cached copy, and reading
  // the value back from the file tells whether it was really stored.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
  if (!written || ReadProfileString(path, sectionText, keyText) != valueText)
    throw EFileError(Format("Unable to write to %s", FPath));
}

}  // namespace pixvane
