#include <io.h>
#include <windows.h>
// shellapi.h needs windows.h before it.
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "maker/Platform.h"
#include "maker/ToolError.h"

namespace pixvane::maker {

std::filesystem::path ExecutablePath() {
  // The module path can exceed MAX_PATH; grow the buffer until it fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return std::filesystem::path(path);
    }
    path.resize(path.size() * 2);
  }
}

bool StderrIsTerminal() {
  return _isatty(_fileno(stderr)) != 0;
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Utf8FromPath(std::filesystem::path(wide[i])));
  LocalFree(wide);
  return arguments;
}

void UseUtf8Console() {
  // The code page belongs to the console, which outlives the tool: the
  // shell gets its own back at exit. Without a console there is none to set.
  static const UINT previous = GetConsoleOutputCP();
  if (previous == 0 || previous == CP_UTF8) return;
  SetConsoleOutputCP(CP_UTF8);
  std::atexit([] { SetConsoleOutputCP(previous); });
}

}  // namespace pixvane::maker
