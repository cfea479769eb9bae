#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace pixvane {

// One INI file on disk. On Windows it goes through the platform's profile
// functions; elsewhere through our own reader and writer of the same syntax
// (setup/IniText.h), so the tests of both builds hold the two against each
// other.
class TIniFile {
 public:
  explicit TIniFile(std::string path) : FPath(std::move(path)) {}

  const std::string& Path() const { return FPath; }

  // True when the path names an existing file (not a folder).
  bool Exists() const;

  // The value of key in section (at most MaxIniValueLength characters), or
  // nothing when the file, the section or the key is missing or the file
  // cannot be read.
  std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;

  // Sets key in section, creating the file or the section when absent and
  // keeping everything else. Raises EFileError "Unable to write to %s" with
  // the path when the value could not be stored; the file is then unchanged.
  // Section, key and value are plain, as for SetIniValue.
  void WriteString(std::string_view section, std::string_view key, std::string_view value) const;

 private:
  std::string FPath;
};

}  // namespace pixvane
