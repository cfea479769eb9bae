#pragma once
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/Paths.h"

namespace pixvane::test {

// A fresh, empty folder under the system's temporary folder, removed with
// everything in it (read-only files included) when the test ends.
class TTempFolder {
 public:
  TTempFolder() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string path =
          JoinPath(TempFolderPath(), "pixvane-test-" + std::to_string(random())) + PathDelim;
      std::error_code error;
      if (std::filesystem::create_directory(path, error)) {
        FPath = path;
        return;
      }
    }
    throw std::runtime_error("cannot create a temporary folder");
  }
  ~TTempFolder() {
    namespace fs = std::filesystem;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(FPath, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(FPath, error);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  // The folder's path, ending with the delimiter.
  const std::string& Path() const { return FPath; }
  std::string File(std::string_view name) const { return FPath + std::string(name); }

  void Write(std::string_view name, std::string_view bytes) const {
    std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + File(name));
  }

  std::string Read(std::string_view name) const {
    std::ifstream in(File(name), std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + File(name));
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  void MakeReadOnly(std::string_view name) const {
    namespace fs = std::filesystem;
    fs::permissions(File(name),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                    fs::perm_options::replace);
  }

  // The names in the folder, sorted; a write must leave no stray files.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(FPath))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::string FPath;
};

}  // namespace pixvane::test
