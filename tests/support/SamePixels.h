#pragma once
#include <cstring>

#include "graphics/Bitmap.h"

namespace pixvane::test {

// The same size and every pixel the same; the rows' padding is not compared.
inline bool SamePixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int32_t y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.ScanLine(y), b.ScanLine(y),
                    static_cast<size_t>(a.Width()) * TBitmap::BytesPerPixel) != 0)
      return false;
  return true;
}

}  // namespace pixvane::test
