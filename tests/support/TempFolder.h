#pragma once
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

#include "base/Paths.h"

namespace pixvane::test {

// A fresh, empty folder for one test, removed with everything in it afterwards.
class TTempFolder {
 public:
  TTempFolder() {
    static std::atomic<int> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    FPath = std::filesystem::path(TempFolderPath()) /
            ("pixvane-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(FPath);
  }
  ~TTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  // The folder as the code under test takes it, ending with the delimiter.
  std::string Folder() const { return FPath.string() + PathDelim; }
  std::string File(const std::string& name) const { return (FPath / name).string(); }

 private:
  std::filesystem::path FPath;
};

}  // namespace pixvane::test
