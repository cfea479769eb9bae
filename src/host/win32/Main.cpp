#include <windows.h>

#include "host/win32/Win32Startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  pixvane::TWin32Startup platform;
  return pixvane::RunStartup(platform);
}
