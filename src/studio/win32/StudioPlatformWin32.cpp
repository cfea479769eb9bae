#include <windows.h>

#include <shellapi.h>

#include "studio/StudioPlatform.h"

namespace pixvane::studio {

bool OpenBrowser(const std::string& address) {
  // ShellExecute hands the address to the default browser; above 32 is success.
  auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

}  // namespace pixvane::studio
