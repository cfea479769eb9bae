#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "base/Errors.h"
#include "base/Stream.h"
#include "host/Preview.h"
#include "host/QuadrantJpeg.h"
#include "package/ClassRegistry.h"
#include "package/Package.h"
#include "package/PackageWriter.h"
#include "package/Picture.h"
#include "support/TestJpeg.h"

namespace pixvane {
namespace {

using test::MakeQuadrantJpeg;
using test::NearColor;
using test::QuadrantColors;

// A player stand-in with a package whose first picture is given.
std::vector<uint8_t> MakeSaver(std::vector<uint8_t> firstPicture, TSSFileLocations settings) {
  RegisterStreamClasses();
  TMemoryStream file;
  std::vector<uint8_t> player(4096, 'P');
  file.Write(player.data(), player.size());
  settings.Title = "Preview";
  TPackageWriter writer(file, settings);
  writer.AddPicture(std::move(firstPicture), "first.jpg");
  writer.AddPicture(test::MakeJpeg(16, 16), "second.jpg");
  writer.Finish();
  return file.Bytes();
}

std::vector<uint8_t> MakeSaver(std::vector<uint8_t> firstPicture,
                               TScaleMode mode = TScaleMode::Stretch) {
  TSSFileLocations settings;
  settings.SetScale(mode);
  return MakeSaver(std::move(firstPicture), settings);
}

// The preview window of the display settings, scripted: it becomes visible
// after a number of looks and hides again after a number more.
class TFakePreviewWindow : public TPreviewWindow {
 public:
  int HiddenLooks = 0;   // looks that find it hidden at first
  int VisibleLooks = 3;  // looks that find it visible after that
  bool Existing = true;
  TRect Rect{100, 200, 252, 312};
  std::vector<uint32_t> Waits;
  std::vector<TBitmap> Drawn;
  int WaitsBeforeDraw = -1;

  bool Exists() override { return Existing; }
  bool IsVisible() override {
    ++FLooks;
    return FLooks > HiddenLooks && FLooks <= HiddenLooks + VisibleLooks;
  }
  TRect WindowRect() override { return Rect; }
  int32_t ScreenWidth() override { return 1520; }
  int32_t ScreenPixelsPerInch() override { return 96; }
  void Draw(const TBitmap& bitmap) override {
    WaitsBeforeDraw = static_cast<int>(Waits.size());
    Drawn.push_back(bitmap);
  }
  void WaitForMessages(uint32_t timeoutMs) override { Waits.push_back(timeoutMs); }

 private:
  int FLooks = 0;
};

class RunPreviewTest : public ::testing::Test {
 protected:
  std::vector<uint8_t> FSaver = MakeSaver(MakeQuadrantJpeg(320, 240));
  int FOpened = 0;

  void Preview(TFakePreviewWindow& window, std::vector<uint8_t> file) {
    RunPreview(window, [&] {
      ++FOpened;
      return std::make_unique<TMemoryStream>(file);
    });
  }

  // What a window of width x height shows of a saver.
  TBitmap Drawn(std::vector<uint8_t> file, int32_t width = 153, int32_t height = 113) {
    TFakePreviewWindow window;
    window.Rect = {0, 0, width - 1, height - 1};
    Preview(window, std::move(file));
    return window.Drawn.at(0);
  }

  // Every wait sleeps, and none so long that the preview outlives its window
  // by much more than a tenth of a second.
  static void ExpectShortSleeps(const std::vector<uint32_t>& waits) {
    for (uint32_t timeout : waits) {
      EXPECT_GT(timeout, 0u);
      EXPECT_LE(timeout, 100u);
    }
  }
};

TEST_F(RunPreviewTest, StretchesThePictureOverTheWholePreviewWithoutKeepingItsShape) {
  // 4:3 into 2:1: keeping the shape would leave bars or cut the picture, and
  // the quadrants would no longer meet in the middle.
  TBitmap preview = Drawn(MakeSaver(MakeQuadrantJpeg(640, 480)), 200, 100);
  ASSERT_EQ(preview.Width(), 200);
  ASSERT_EQ(preview.Height(), 100);
  const TPoint samples[4][2] = {
      {{2, 2}, {97, 47}}, {{102, 2}, {197, 47}}, {{2, 52}, {97, 97}}, {{102, 52}, {197, 97}}};
  for (int quadrant = 0; quadrant < 4; ++quadrant)
    for (const TPoint& p : samples[quadrant])
      EXPECT_TRUE(NearColor(preview.Pixel(p.X, p.Y), QuadrantColors[quadrant]))
          << "quadrant " << quadrant << " at " << p.X << "," << p.Y << ": " << std::hex
          << preview.Pixel(p.X, p.Y);
  // The corners of the preview are the corners of the picture.
  EXPECT_TRUE(NearColor(preview.Pixel(0, 0), QuadrantColors[0]));
  EXPECT_TRUE(NearColor(preview.Pixel(199, 99), QuadrantColors[3]));
}

TEST_F(RunPreviewTest, EnlargesAPictureSmallerThanThePreview) {
  TBitmap preview = Drawn(MakeSaver(MakeQuadrantJpeg(32, 16)), 150, 113);
  EXPECT_TRUE(NearColor(preview.Pixel(10, 10), QuadrantColors[0]));
  EXPECT_TRUE(NearColor(preview.Pixel(140, 10), QuadrantColors[1]));
  EXPECT_TRUE(NearColor(preview.Pixel(10, 105), QuadrantColors[2]));
  EXPECT_TRUE(NearColor(preview.Pixel(140, 105), QuadrantColors[3]));
}

TEST_F(RunPreviewTest, AHugePictureIsDecodedSmallAndStillFillsThePreview) {
  // 8 x 8 blocks of one colour survive the 1/8 decode exactly at their edges.
  std::vector<uint8_t> jpeg = MakeQuadrantJpeg(4096, 2048);
  ASSERT_EQ(TJPEGImage(jpeg).ScaleToCover(152, 114), 8);
  TBitmap preview = Drawn(MakeSaver(jpeg), 152, 114);
  EXPECT_TRUE(NearColor(preview.Pixel(70, 50), QuadrantColors[0]));
  EXPECT_TRUE(NearColor(preview.Pixel(80, 50), QuadrantColors[1]));
  EXPECT_TRUE(NearColor(preview.Pixel(70, 62), QuadrantColors[2]));
  EXPECT_TRUE(NearColor(preview.Pixel(151, 113), QuadrantColors[3]));
}

TEST_F(RunPreviewTest, WaitsForTheWindowDrawsOnceAndStaysWhileItIsVisible) {
  TFakePreviewWindow window;
  window.HiddenLooks = 4;
  window.VisibleLooks = 6;
  Preview(window, FSaver);
  ASSERT_EQ(window.Drawn.size(), 1u);
  EXPECT_EQ(window.WaitsBeforeDraw, 4);  // one wait per look that found it hidden
  // One wait per look that found it visible, after the one that began the preview.
  EXPECT_EQ(window.Waits.size(), 4u + 5u);
  ExpectShortSleeps(window.Waits);
  EXPECT_EQ(FOpened, 1);
}

TEST_F(RunPreviewTest, ThePictureFillsTheRectangleAndOneMorePixelEachWay) {
  TFakePreviewWindow window;
  Preview(window, FSaver);
  ASSERT_EQ(window.Drawn.size(), 1u);
  const TBitmap& drawn = window.Drawn[0];
  EXPECT_EQ(drawn.Width(), 153);
  EXPECT_EQ(drawn.Height(), 113);
  EXPECT_TRUE(NearColor(drawn.Pixel(5, 5), QuadrantColors[0]));
  EXPECT_TRUE(NearColor(drawn.Pixel(147, 107), QuadrantColors[3]));
}

TEST_F(RunPreviewTest, ThePackagesScaleModeIsShownInMiniature) {
  // 4:3 in a 153 x 113 preview of a 1520 pixel wide screen.
  TBitmap fitted = Drawn(MakeSaver(MakeQuadrantJpeg(320, 240), TScaleMode::Fit));
  EXPECT_EQ(fitted.Pixel(0, 56) & 0xFFFFFF, 0u);  // 151 x 113, one black column each side
  EXPECT_TRUE(NearColor(fitted.Pixel(3, 3), QuadrantColors[0]));
  TBitmap own = Drawn(MakeSaver(MakeQuadrantJpeg(320, 240), TScaleMode::None));
  EXPECT_EQ(own.Pixel(40, 56) & 0xFFFFFF, 0u);  // a tenth of the screen: 32 x 24 in the middle
  EXPECT_TRUE(NearColor(own.Pixel(62, 48), QuadrantColors[0]));
  EXPECT_TRUE(NearColor(own.Pixel(90, 64), QuadrantColors[3]));
}

TEST_F(RunPreviewTest, TheCaptionIsShownInMiniatureAtTheBottom) {
  // On the 1520 pixel wide screen: 100 pixels high, 100 above the bottom
  // edge; a tenth of that in the 153 x 113 preview.
  TSSFileLocations settings;
  settings.SetScale(TScaleMode::Stretch);
  settings.SetCaption("Preview");
  settings.TextFont.Height = -100;
  settings.TextFont.Color = 0;  // black, which the picture nowhere is
  settings.CaptionMargin = 100;
  TBitmap preview = Drawn(MakeSaver(MakeQuadrantJpeg(320, 240), settings));
  TRect ink{preview.Width(), preview.Height(), -1, -1};
  for (int32_t y = 0; y < preview.Height(); ++y)
    for (int32_t x = 0; x < preview.Width(); ++x)
      if (NearColor(preview.Pixel(x, y), 0, 60)) {
        ink.Left = std::min(ink.Left, x);
        ink.Top = std::min(ink.Top, y);
        ink.Right = std::max(ink.Right, x);
        ink.Bottom = std::max(ink.Bottom, y);
      }
  ASSERT_LE(ink.Left, ink.Right) << "no caption";
  EXPECT_GE(ink.Top, 113 - 10 - 14);
  EXPECT_LT(ink.Bottom, 113 - 10);
  EXPECT_NEAR((ink.Left + ink.Right) / 2, 76, 3) << "centred";
}

TEST_F(RunPreviewTest, SettingsThatCannotBeReadAreTakenAsFarAsTheyWereRead) {
  std::vector<uint8_t> file = MakeSaver(MakeQuadrantJpeg(320, 240), TScaleMode::Fit);
  file[file.size() - 41] = 0x7F;  // the record's end marker, after every property
  TMemoryStream stream(file);
  TSSFileLocations record;
  ASSERT_THROW(ReadSettings(stream, record), EError);
  TBitmap fitted = Drawn(file);
  EXPECT_EQ(fitted.Pixel(0, 56) & 0xFFFFFF, 0u) << "fitted, as the record says";
  EXPECT_TRUE(NearColor(fitted.Pixel(3, 3), QuadrantColors[0]));
}

TEST_F(RunPreviewTest, AWindowHiddenAtOnceIsDrawnOnceAndLeft) {
  TFakePreviewWindow window;
  window.VisibleLooks = 1;
  Preview(window, FSaver);
  EXPECT_EQ(window.Drawn.size(), 1u);
  EXPECT_TRUE(window.Waits.empty());
}

TEST_F(RunPreviewTest, AHandleThatNamesNoWindowEndsWithoutOpeningTheFile) {
  TFakePreviewWindow window;
  window.HiddenLooks = 1000;
  window.Existing = false;
  Preview(window, FSaver);
  EXPECT_EQ(FOpened, 0);
  EXPECT_TRUE(window.Drawn.empty());
}

TEST_F(RunPreviewTest, AFileTooShortForATrailerEndsWithoutDrawing) {
  TFakePreviewWindow window;
  window.VisibleLooks = 1000;
  Preview(window, std::vector<uint8_t>(19, '7'));
  EXPECT_TRUE(window.Drawn.empty());
  EXPECT_TRUE(window.Waits.empty());  // gone at once, not waiting for the window
}

TEST_F(RunPreviewTest, APackageLengthThatIsNoNumberFailsBeforeDrawing) {
  std::vector<uint8_t> file = FSaver;
  std::fill(file.end() - 40, file.end() - 20, 'x');
  TFakePreviewWindow window;
  EXPECT_THROW(Preview(window, file), EError);
  EXPECT_TRUE(window.Drawn.empty());
}

TEST_F(RunPreviewTest, ADamagedFirstPictureFailsBeforeDrawing) {
  std::vector<uint8_t> file = FSaver;
  // The JPEG's start-of-image marker, a little after the object's header.
  for (size_t i = 4096; i + 1 < file.size(); ++i)
    if (file[i] == 0xFF && file[i + 1] == 0xD8) {
      file[i + 1] = 0x00;
      break;
    }
  TFakePreviewWindow window;
  EXPECT_THROW(Preview(window, file), EError);
  EXPECT_TRUE(window.Drawn.empty());
}

TEST_F(RunPreviewTest, AFileThatCannotBeOpenedFails) {
  TFakePreviewWindow window;
  EXPECT_THROW(
      RunPreview(window, [] { return TFileStream::OpenRead(std::string("/no/such/saver.scr")); }),
      EFileError);
  EXPECT_TRUE(window.Drawn.empty());
}

}  // namespace
}  // namespace pixvane
