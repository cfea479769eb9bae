#include "graphics/win32/Dib.h"

namespace pixvane {

BITMAPINFO DibInfo(int32_t width, int32_t height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

void DrawBitmap(HDC dc, int x, int y, const TBitmap& bitmap) {
  if (bitmap.IsEmpty()) return;
  BITMAPINFO info = DibInfo(bitmap.Width(), bitmap.Height());
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(bitmap.Width()),
                    static_cast<DWORD>(bitmap.Height()), 0, 0, 0,
                    static_cast<UINT>(bitmap.Height()), bitmap.Bits(), &info, DIB_RGB_COLORS);
}

}  // namespace pixvane
