#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "maker/ExternalProgram.h"
#include "maker/ToolError.h"

extern char** environ;

namespace pixvane::maker {

namespace fs = std::filesystem;

fs::path FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "/usr/bin:/bin");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    if (folder.empty()) continue;
    fs::path candidate = fs::path(folder) / name;
    if (access(candidate.c_str(), X_OK) == 0 && !fs::is_directory(candidate)) return candidate;
  }
  return {};
}

int RunProgram(const std::vector<std::string>& arguments, const fs::path& folder,
               const fs::path& log) {
  int output = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (output < 0) throw EToolError("Cannot create file " + PathForMessage(log));
  // The child starts in folder and writes to the log; the tool's own
  // descriptors stay its own.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output, STDERR_FILENO);
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  // posix_spawn has no working folder before glibc's addchdir_np (2.29),
  // which Debian has.
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  pid_t child = 0;
  int error = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(output);
  if (error != 0) throw EToolError("cannot run " + arguments[0] + ": " + std::strerror(error));
  int status = 0;
  while (waitpid(child, &status, 0) < 0)
    if (errno != EINTR) throw EToolError("lost " + arguments[0] + ": " + std::strerror(errno));
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

std::string LogTail(const fs::path& log, int lines) {
  std::ifstream in(log);
  std::vector<std::string> all;
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) all.push_back(line);
  std::string tail;
  for (size_t i = all.size() > static_cast<size_t>(lines) ? all.size() - lines : 0; i < all.size();
       ++i)
    tail += (tail.empty() ? "" : "\n") + all[i];
  return tail;
}

TScratchFolder::TScratchFolder() {
  std::string pattern = (fs::temp_directory_path() / "pixvane-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr)
    throw EToolError("cannot make a temporary folder in " +
                     PathForMessage(fs::temp_directory_path()) + ": " + std::strerror(errno));
  FPath = pattern;
}

TScratchFolder::~TScratchFolder() {
  std::error_code ignored;
  fs::remove_all(FPath, ignored);
}

}  // namespace pixvane::maker
