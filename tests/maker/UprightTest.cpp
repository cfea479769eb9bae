#include <gtest/gtest.h>

#include <array>

#include "graphics/Bitmap.h"
#include "maker/Upright.h"
#include "package/Picture.h"
#include "support/TestJpeg.h"
#include "support/ToolTestFiles.h"

namespace pixvane::maker {
namespace {

// Four quarters of clearly different colours, so every turn and mirror
// shows in where each colour lands.
const std::array<TColor, 4> Quarters = {RGBColor(220, 30, 30), RGBColor(30, 200, 30),
                                        RGBColor(30, 30, 220), RGBColor(240, 240, 240)};

TColor QuarterAt(int x, int y, int width, int height) {
  return Quarters[(x * 2 / width) + 2 * (y * 2 / height)];
}

std::vector<uint8_t> QuarterJpeg(int width, int height, bool progressive = false) {
  return test::EncodeJpeg(
      width, height, [&](int x, int y) { return QuarterAt(x, y, width, height); }, 95, false,
      progressive);
}

// The stored pixel a viewer shows at (x, y) of a picture of each
// orientation, stored width x height: the meaning of the EXIF values.
std::pair<int, int> StoredPixel(int orientation, int x, int y, int width, int height) {
  switch (orientation) {
    case 2:
      return {width - 1 - x, y};
    case 3:
      return {width - 1 - x, height - 1 - y};
    case 4:
      return {x, height - 1 - y};
    case 5:
      return {y, x};
    case 6:
      return {y, height - 1 - x};
    case 7:
      return {width - 1 - y, height - 1 - x};
    case 8:
      return {width - 1 - y, x};
    default:
      return {x, y};
  }
}

bool Near(TColor a, TColor b) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 40) return false;
  return true;
}

void ExpectUpright(const std::vector<uint8_t>& stored, int orientation, int width, int height) {
  SCOPED_TRACE("orientation " + std::to_string(orientation));
  std::vector<uint8_t> turned = TurnUpright(stored);
  EXPECT_EQ(ExifOrientation(turned), 1);
  TBitmap pixels = TJPEGImage(turned).Decode(1);
  bool across = orientation >= 5;
  ASSERT_EQ(pixels.Width(), across ? height : width);
  ASSERT_EQ(pixels.Height(), across ? width : height);
  // The middle of each quarter as the viewer sees it.
  for (int qy : {1, 3})
    for (int qx : {1, 3}) {
      int x = pixels.Width() * qx / 4, y = pixels.Height() * qy / 4;
      auto [sx, sy] = StoredPixel(orientation, x, y, width, height);
      EXPECT_TRUE(Near(pixels.Pixel(x, y), QuarterAt(sx, sy, width, height)))
          << "at " << x << "," << y;
    }
}

TEST(Upright, EveryOrientationTurnsAsAViewerShowsIt) {
  std::vector<uint8_t> plain = QuarterJpeg(64, 32);
  for (int orientation = 1; orientation <= 8; ++orientation) {
    std::vector<uint8_t> stored =
        test::WithExifOrientation(plain, orientation, orientation % 2 == 0);
    EXPECT_EQ(ExifOrientation(stored), orientation);
    ExpectUpright(stored, orientation, 64, 32);
  }
  std::vector<uint8_t> progressive = test::WithExifOrientation(QuarterJpeg(64, 32, true), 6);
  ExpectUpright(progressive, 6, 64, 32);
  EXPECT_TRUE(TJPEGImage(TurnUpright(progressive)).Progressive());
}

TEST(Upright, UprightFilesStayAsTheyAre) {
  std::vector<uint8_t> plain = QuarterJpeg(32, 16);
  EXPECT_EQ(ExifOrientation(plain), 1);
  EXPECT_EQ(TurnUpright(plain), plain);
  std::vector<uint8_t> one = test::WithExifOrientation(plain, 1, false);
  EXPECT_EQ(TurnUpright(one), one);
  // A value outside 1-8 means nothing; a cut EXIF block is not read past.
  EXPECT_EQ(ExifOrientation(test::WithExifOrientation(plain, 9, true)), 1);
  std::vector<uint8_t> cut = test::WithExifOrientation(plain, 6, false);
  cut.resize(30);
  EXPECT_EQ(ExifOrientation(cut), 1);
}

TEST(Upright, PartialBlocksThatCannotTurnAreTrimmed) {
  // 4:2:0 blocks are 16 pixels; turning a quarter right brings the partial
  // bottom row of blocks to the left edge, where it cannot stay.
  std::vector<uint8_t> stored = test::WithExifOrientation(QuarterJpeg(40, 36), 6, false);
  TJPEGImage turned(TurnUpright(stored));
  EXPECT_EQ(turned.Width(), 32);
  EXPECT_EQ(turned.Height(), 40);
}

}  // namespace
}  // namespace pixvane::maker
