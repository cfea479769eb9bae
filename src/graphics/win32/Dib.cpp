#include "graphics/win32/Dib.h"

#include <memory>

#include "graphics/Bands.h"
#include "graphics/Copy.h"

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
  // Handed over as 32-bit words, which the platform takes as they are: a
  // 24-bit DIB costs it a conversion of every pixel that is three times our
  // own (a whole frame 60 times a second while a picture pans). The words
  // stay allocated for the next frame.
  thread_local std::unique_ptr<uint32_t[]> words;
  thread_local size_t capacity = 0;
  const size_t count = static_cast<size_t>(bitmap.Width()) * static_cast<size_t>(bitmap.Height());
  if (count > capacity) {
    words = std::make_unique_for_overwrite<uint32_t[]>(count);  // every word is written below
    capacity = count;
  }
  CopyToWords(bitmap, words.get(), FrameThreads());
  BITMAPINFO info = DibInfo(bitmap.Width(), bitmap.Height());
  info.bmiHeader.biBitCount = 32;
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(bitmap.Width()),
                    static_cast<DWORD>(bitmap.Height()), 0, 0, 0,
                    static_cast<UINT>(bitmap.Height()), words.get(), &info, DIB_RGB_COLORS);
}

}  // namespace pixvane
