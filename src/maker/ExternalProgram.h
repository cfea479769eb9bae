#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace pixvane::maker {

// The program's path found along PATH, or empty when it is not installed.
std::filesystem::path FindProgram(const std::string& name);

// Runs arguments[0] (a path) with the rest as its arguments in folder,
// its standard output and error going to the file log, and waits for it.
// Returns its exit code; a program killed by a signal counts as 128 + the
// signal, as shells count it. Fails with EToolError when it cannot start.
int RunProgram(const std::vector<std::string>& arguments, const std::filesystem::path& folder,
               const std::filesystem::path& log);

// The last lines of a log, for a message that says why a program failed.
std::string LogTail(const std::filesystem::path& log, int lines);

// A new empty folder under the system's temporary folder, removed with
// everything in it when the owner goes.
class TScratchFolder {
 public:
  TScratchFolder();
  ~TScratchFolder();
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;
  const std::filesystem::path& Path() const { return FPath; }

 private:
  std::filesystem::path FPath;
};

}  // namespace pixvane::maker
