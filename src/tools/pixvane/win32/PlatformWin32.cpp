#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "tools/pixvane/Platform.h"

namespace pixvane::tool {

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

}  // namespace pixvane::tool
