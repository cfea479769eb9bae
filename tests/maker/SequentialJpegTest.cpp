#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "graphics/Bitmap.h"
#include "maker/SequentialJpeg.h"
#include "maker/Upright.h"
#include "package/Picture.h"
#include "support/SamePixels.h"
#include "support/TestJpeg.h"
#include "support/ToolTestFiles.h"

namespace pixvane::maker {
namespace {

using test::SamePixels;

std::vector<uint8_t> PatternJpeg(bool progressive) {
  return test::EncodeJpeg(
      64, 48, [](int x, int y) { return RGBColor(x * 4, y * 5, (x ^ y) * 4); }, 90, false,
      progressive);
}

// A camera's progressive photo: EXIF blocks with the orientation and the
// date, and a comment, ahead of the encoder's own JFIF marker.
std::vector<uint8_t> CameraJpeg() {
  std::vector<uint8_t> jpeg =
      test::WithExifDate(test::WithExifOrientation(PatternJpeg(true), 6), "2024:03:12 09:30:00");
  const uint8_t comment[] = {0xFF, 0xFE, 0, 7, 'h', 'e', 'l', 'l', 'o'};
  jpeg.insert(jpeg.begin() + 2, std::begin(comment), std::end(comment));
  return jpeg;
}

// The APPn and COM segments ahead of the first scan, whole and in order.
std::vector<std::vector<uint8_t>> MarkerSegments(const std::vector<uint8_t>& jpeg) {
  std::vector<std::vector<uint8_t>> segments;
  for (size_t at = 2; at + 4 <= jpeg.size() && jpeg[at + 1] != 0xDA;) {
    size_t end = at + 2 + (size_t{jpeg[at + 2]} << 8 | jpeg[at + 3]);
    if (end > jpeg.size()) break;
    uint8_t marker = jpeg[at + 1];
    if ((marker >= 0xE0 && marker <= 0xEF) || marker == 0xFE)
      segments.emplace_back(jpeg.begin() + at, jpeg.begin() + end);
    at = end;
  }
  return segments;
}

TEST(SequentialJpeg, AProgressiveFileKeepsItsPixelsAndMarkers) {
  std::vector<uint8_t> camera = CameraJpeg();
  ASSERT_TRUE(TJPEGImage(camera).Progressive());
  auto sequential = SequentialJpeg(camera);
  ASSERT_TRUE(sequential);
  EXPECT_FALSE(TJPEGImage(*sequential).Progressive());
  EXPECT_TRUE(SamePixels(TJPEGImage(*sequential).Decode(1), TJPEGImage(camera).Decode(1)));
  EXPECT_EQ(MarkerSegments(*sequential), MarkerSegments(camera));
  EXPECT_EQ(MarkerSegments(camera).size(), 4u);  // comment, date, orientation, JFIF
  EXPECT_EQ(ExifOrientation(*sequential), 6);
  EXPECT_EQ(ExifDateTaken(*sequential), (TDate{2024, 3, 12}));
}

TEST(SequentialJpeg, SequentialAndDamagedFilesAreLeftAsTheyAre) {
  EXPECT_FALSE(SequentialJpeg(PatternJpeg(false)));
  std::vector<uint8_t> camera = CameraJpeg();
  for (size_t keep : {camera.size() * 2 / 3, size_t{300}, size_t{40}, size_t{0}}) {
    std::vector<uint8_t> cut(camera.begin(), camera.begin() + keep);
    EXPECT_FALSE(SequentialJpeg(cut)) << keep << " bytes";
  }
  // A progression that ends early, cleanly: libjpeg smooths the blocks whose
  // finer bits never came, which a sequential file cannot say.
  const uint8_t scan[] = {0xFF, 0xDA};
  auto last = std::find_end(camera.begin(), camera.end(), std::begin(scan), std::end(scan));
  std::vector<uint8_t> early(camera.begin(), last);
  early.insert(early.end(), {0xFF, 0xD9});
  std::vector<std::string> warnings;
  TJPEGImage(early).Decode(1, &warnings);
  EXPECT_TRUE(warnings.empty());
  EXPECT_FALSE(SequentialJpeg(early));
  std::vector<uint8_t> scrambled = camera;
  for (size_t i = scrambled.size() / 2; i < scrambled.size() - 2; i += 7) scrambled[i] ^= 0x5A;
  EXPECT_FALSE(SequentialJpeg(scrambled));
}

}  // namespace
}  // namespace pixvane::maker
