/* The platform's ceiling for a full-screen frame rate: a window covering
   the screen that does nothing but write a changing 32-bit picture and
   paint it with SetDIBitsToDevice, as fast as it can. The saver's motion is
   measured against it on the same display (bench/motion_frames.py --bare).
   Any key ends it. */
#include <windows.h>

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_KEYDOWN || message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, w, l);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR line, int show) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  WNDCLASSW windowClass = {0};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"BareBlit";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(WS_EX_TOPMOST, L"BareBlit", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                width, height, NULL, NULL, instance, NULL);
  BITMAPINFO info = {0};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height; /* top-down rows, as a frame is written */
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  UINT32* pixels = HeapAlloc(GetProcessHeap(), 0, (SIZE_T)width * height * 4);
  HDC dc = GetDC(window);
  for (UINT32 frame = 0;; ++frame) {
    MSG message;
    while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return 0;
      DispatchMessageW(&message);
    }
    /* A mid-grey ramp that moves a step each frame: never black or white,
       and every frame differs from the last across the whole screen. */
    for (int y = 0; y < height; ++y) {
      UINT32* row = pixels + (SIZE_T)y * width;
      for (int x = 0; x < width; ++x) {
        const UINT32 level = 0x40 + ((x + y + frame) & 0x7F);
        row[x] = level << 16 | level << 8 | level;
      }
    }
    SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, pixels, &info, DIB_RGB_COLORS);
  }
}
