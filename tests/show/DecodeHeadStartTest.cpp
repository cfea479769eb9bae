#include <gtest/gtest.h>

#include <cstring>

#include <jpeglib.h>

#include "base/Stream.h"
#include "package/ClassRegistry.h"
#include "package/Package.h"
#include "package/PackageWriter.h"
#include "show/DecodeHeadStart.h"
#include "support/TestJpeg.h"

namespace pixvane {
namespace {

std::vector<uint8_t> Package(TSSFileLocations& settings) {
  RegisterStreamClasses();
  TMemoryStream file;
  file.Write("MZ player", 9);
  TPackageWriter writer(file, settings);
  for (int i = 0; i < 2; ++i)
    writer.AddPicture(test::CompressJpeg(256, 192, 3, JCS_RGB, 90, false,
                                         [i](int y, uint8_t* row) {
                                           for (int x = 0; x < 256 * 3; ++x)
                                             row[x] = static_cast<uint8_t>(x * (i + 1) + y);
                                         }),
                      "p" + std::to_string(i) + ".jpg");
  writer.Finish();
  return file.Bytes();
}

std::unique_ptr<TImage> PictureAt(const std::vector<uint8_t>& package, int64_t offset) {
  TMemoryStream file(package);
  file.Seek(offset);
  return ReadPictureObject(file);
}

bool SamePixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int32_t y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.ScanLine(y), b.ScanLine(y), a.Width() * TBitmap::BytesPerPixel)) return false;
  return true;
}

// The first picture, 256 x 192, for a likely screen of 100 x 75: still, a
// half-size decode covers it; zoomed by 1.5 it takes the full size.
TEST(DecodeHeadStart, LendsTheFirstPictureAtTheScaleItsSlideDecodesAt) {
  const TShowScreen likely{100, 75, {{{0, 0, 100, 75}}}};
  struct TCase {
    const char* Name;
    bool PanZoom, Random;
    int Scale;  // lent to the first picture; 0 for nothing
  } cases[] = {
      {"still", false, false, 2}, {"pan and zoom", true, false, 1}, {"random", false, true, 0}};
  for (const TCase& c : cases) {
    TSSFileLocations settings;
    settings.SetScale(TScaleMode::Fill);
    settings.Motion = c.PanZoom ? 1 : 0;
    settings.MotionZoom = 1500;
    settings.lRandomPic = c.Random;
    const std::vector<uint8_t> package = Package(settings);
    TSSFileLocations written;
    TMemoryStream reread(package);
    ASSERT_TRUE(ReadSettings(reread, written));

    TDecodeHeadStart headStart([&] { return std::make_unique<TMemoryStream>(package); }, likely);
    const std::unique_ptr<TImage> second = PictureAt(package, written.PicOffsetAt(1));
    EXPECT_EQ(headStart.Lend(written.PicOffsetAt(1), *second->Picture.Graphic()), 0) << c.Name;
    const std::unique_ptr<TImage> first = PictureAt(package, written.PicOffsetAt(0));
    TJPEGImage& graphic = *first->Picture.Graphic();
    ASSERT_EQ(headStart.Lend(written.PicOffsetAt(0), graphic), c.Scale) << c.Name;
    if (c.Scale == 0) continue;
    const TJPEGImage fresh(graphic.Data());
    EXPECT_TRUE(SamePixels(graphic.Decode(c.Scale), fresh.Decode(c.Scale))) << c.Name;
    EXPECT_EQ(headStart.Lend(written.PicOffsetAt(0), graphic), 0) << c.Name << ": lent once";
  }
}

TEST(DecodeHeadStart, AnUnreadablePackageLendsNothing) {
  TDecodeHeadStart headStart(
      [] { return std::make_unique<TMemoryStream>(std::vector<uint8_t>(100, 'x')); },
      LikelyScreen());
  TJPEGImage graphic(test::MakeJpeg(16, 16));
  EXPECT_EQ(headStart.Lend(0, graphic), 0);
}

}  // namespace
}  // namespace pixvane
