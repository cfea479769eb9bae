#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "maker/Platform.h"

extern char** environ;

namespace pixvane::maker {

std::filesystem::path ExecutablePath() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : path;
}

bool StderrIsTerminal() {
  return isatty(STDERR_FILENO) != 0;
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

void UseUtf8Console() {}

TProgramRun RunProgram(const std::vector<std::string>& arguments) {
  TProgramRun run;
  int pipeEnds[2];
  if (arguments.empty() || pipe2(pipeEnds, O_CLOEXEC) != 0) return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 2);
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  const int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (failed == 0) {
    // Read until the child closes its end, so a chatty program never blocks
    // on a full pipe while we wait for it.
    char buffer[4096];
    for (;;) {
      const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
      if (got > 0)
        run.Output.append(buffer, static_cast<size_t>(got));
      else if (got == 0 || errno != EINTR)
        break;
    }
  }
  close(pipeEnds[0]);
  if (failed != 0) return run;
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  // posix_spawnp may report a missing program only through the child's
  // exit code 127, as the shell does.
  run.Started = !(WIFEXITED(status) && WEXITSTATUS(status) == 127 && run.Output.empty());
  run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace pixvane::maker
