#include "graphics/win32/Dib.h"

#include <algorithm>
#include <memory>

#include "graphics/Copy.h"

namespace pixvane {
namespace {

// The words of one band of rows handed over at a time: about 2 MB, so a
// band is still in the cache when the platform reads it, and the buffer
// stays small beside a frame of two 4K monitors (66 MB as a whole).
constexpr size_t BandWords = size_t{1} << 19;

}  // namespace

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
  const size_t width = static_cast<size_t>(bitmap.Width());
  const int32_t bandRows =
      static_cast<int32_t>(std::clamp<size_t>(BandWords / width, 1, bitmap.Height()));
  const size_t count = width * static_cast<size_t>(bandRows);
  if (count > capacity) {
    words = std::make_unique_for_overwrite<uint32_t[]>(count);  // every word is written below
    capacity = count;
  }
  for (int32_t top = 0; top < bitmap.Height(); top += bandRows) {
    const int32_t rows = std::min(bandRows, bitmap.Height() - top);
    CopyRowsToWords(bitmap, top, top + rows, words.get());
    BITMAPINFO info = DibInfo(bitmap.Width(), rows);
    info.bmiHeader.biBitCount = 32;
    SetDIBitsToDevice(dc, x, y + top, static_cast<DWORD>(width), static_cast<DWORD>(rows), 0, 0, 0,
                      static_cast<UINT>(rows), words.get(), &info, DIB_RGB_COLORS);
  }
}

}  // namespace pixvane
