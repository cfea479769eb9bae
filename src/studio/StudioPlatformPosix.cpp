#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "studio/StudioPlatform.h"

extern char** environ;

namespace pixvane::studio {

bool OpenBrowser(const std::string& address) {
  // xdg-open returns once the browser is asked; its own output stays out of
  // the studio's one line.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::string program = "xdg-open";
  char* argv[] = {program.data(), const_cast<char*>(address.c_str()), nullptr};
  pid_t child = 0;
  int failed = posix_spawnp(&child, "xdg-open", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed) return false;
  int status = 0;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool IsUnresolvedLink(const std::filesystem::path&) {
  return false;
}

bool CreateExclusive(const std::filesystem::path& path) {
  int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (file < 0) return false;
  ::close(file);
  return true;
}

}  // namespace pixvane::studio
