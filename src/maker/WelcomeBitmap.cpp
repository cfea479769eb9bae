#include "maker/WelcomeBitmap.h"

#include <algorithm>
#include <cstring>

#include "graphics/Resample.h"
#include "package/Picture.h"

namespace pixvane::maker {

namespace {

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

TBitmap WelcomePicture(TPackageFile& package) {
  TBitmap welcome(WelcomeWidth, WelcomeHeight);
  std::memset(welcome.Bits(), 0x30, welcome.ByteSize());
  if (package.Settings.PicCount() == 0) return welcome;
  TBitmap picture;
  try {
    std::unique_ptr<TImage> image = ReadPicture(package, 0);
    TJPEGImage* jpeg = image->Picture.Graphic();
    if (jpeg == nullptr) return welcome;
    picture = jpeg->Decode(jpeg->ScaleToCover(WelcomeWidth, WelcomeHeight));
  } catch (const std::exception&) {
    // The player shows a grey picture in its place: the page shows none.
    return welcome;
  }
  if (picture.IsEmpty()) return welcome;
  // Fill: the scale that covers both sides, the overflow cut evenly.
  double scale =
      std::max(double(WelcomeWidth) / picture.Width(), double(WelcomeHeight) / picture.Height());
  int width = std::max(WelcomeWidth, int(picture.Width() * scale + 0.5));
  int height = std::max(WelcomeHeight, int(picture.Height() * scale + 0.5));
  int left = (WelcomeWidth - width) / 2, top = (WelcomeHeight - height) / 2;
  DrawScaled(welcome, welcome.Bounds(), {left, top, left + width, top + height}, picture);
  return welcome;
}

std::vector<uint8_t> BmpFile(const TBitmap& bitmap) {
  const uint32_t rowBytes = (bitmap.Width() * 3 + 3) & ~3u;
  const uint32_t pixelBytes = rowBytes * bitmap.Height();
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put(out, 54 + pixelBytes, 4);
  Put(out, 0, 4);
  Put(out, 54, 4);  // pixels follow the two headers
  Put(out, 40, 4);  // BITMAPINFOHEADER
  Put(out, bitmap.Width(), 4);
  Put(out, bitmap.Height(), 4);  // positive: bottom-up
  Put(out, 1, 2);
  Put(out, 24, 2);
  Put(out, 0, 4);  // BI_RGB
  Put(out, pixelBytes, 4);
  Put(out, 2835, 4);  // 72 dots per inch, as most writers say
  Put(out, 2835, 4);
  Put(out, 0, 4);
  Put(out, 0, 4);
  for (int y = bitmap.Height() - 1; y >= 0; --y) {
    const uint8_t* row = bitmap.ScanLine(y);
    out.insert(out.end(), row, row + bitmap.Width() * 3);
    out.resize(out.size() + (rowBytes - bitmap.Width() * 3), 0);
  }
  return out;
}

}  // namespace pixvane::maker
