#include "show/SlideComposer.h"

#include <gtest/gtest.h>

#include "support/TestJpeg.h"

namespace pixvane {
namespace {

// A caption font 6 x 10 pixels a character whose text covers its whole box
// in white; every drawing is noted.
class TFakePainter : public TCaptionPainter {
 public:
  struct TText {
    int32_t X, Y;
    TRect Clip;
    std::string Text;
  };
  std::vector<TText> Texts;

  void MeasureText(const TStoredText& text, const TFont&, int32_t& cx, int32_t& cy) override {
    cx = static_cast<int32_t>(text.Bytes.size()) * 6;
    cy = 10;
  }
  void DrawText(TBitmap& slide, const TRect& clip, int32_t x, int32_t y, const TStoredText& text,
                const TFont&) override {
    Texts.push_back({x, y, clip, text.Bytes});
    slide.FillRect(
        TRect{x, y, x + static_cast<int32_t>(text.Bytes.size()) * 6, y + 10}.Intersect(clip),
        0xFFFFFF);
  }
  TCoverage TextCoverage(const TStoredText& text, const TFont&) override {
    TCoverage coverage{static_cast<int32_t>(text.Bytes.size()) * 6, 10, {}};
    coverage.Alpha.assign(coverage.Width * 10, 255);
    return coverage;
  }
};

struct TComposer {
  TSSFileLocations Settings;
  TFakePainter Painter;
  TSlideComposer Composer{Settings, Painter};

  TBitmap Compose(const TJPEGImage* graphic, int32_t width, int32_t height) {
    return ComposeOn(graphic, width, height, {{{0, 0, width, height}}}, Settings.CaptionOf(0));
  }
  // A slide as the show makes one: black, the picture on every monitor, and
  // each monitor's caption over it.
  TBitmap ComposeOn(const TJPEGImage* graphic, int32_t width, int32_t height,
                    const std::vector<TMonitor>& monitors, const TStoredText& caption) {
    TBitmap slide(width, height);
    std::vector<TRect> areas;
    for (const TMonitor& monitor : monitors) areas.push_back(monitor.Bounds);
    if (graphic && graphic->Width() > 0 && graphic->Height() > 0)
      TSlideComposer::DrawPicture(slide, *graphic, Settings.Scale(), areas);
    Composer.DrawCaptions(slide, monitors, caption);
    return slide;
  }
};

bool IsBlack(TColor color) {
  return (color & 0xFFFFFF) == 0;
}

TEST(PlacePicture, KeepsProportionsForFitAndFillAndCentresEveryMode) {
  const TRect screen{0, 0, 1920, 1080};
  // A 4:3 photo: bars left and right when fitted, top and bottom cut when filled.
  EXPECT_EQ(PlacePicture(TScaleMode::Fit, 4000, 3000, screen), (TRect{240, 0, 1680, 1080}));
  EXPECT_EQ(PlacePicture(TScaleMode::Fill, 4000, 3000, screen), (TRect{0, -180, 1920, 1260}));
  // A portrait photo.
  EXPECT_EQ(PlacePicture(TScaleMode::Fit, 3000, 4000, screen), (TRect{555, 0, 1365, 1080}));
  EXPECT_EQ(PlacePicture(TScaleMode::Fill, 3000, 4000, screen), (TRect{0, -740, 1920, 1820}));
  EXPECT_EQ(PlacePicture(TScaleMode::Stretch, 3000, 4000, screen), screen);
  // At its own size, as the old centring did: 100 x 50 on 1024 x 768, and
  // a larger picture cut evenly.
  EXPECT_EQ(PlacePicture(TScaleMode::None, 100, 50, {0, 0, 1024, 768}),
            (TRect{462, 359, 562, 409}));
  EXPECT_EQ(PlacePicture(TScaleMode::None, 2000, 1000, {0, 0, 1024, 768}),
            (TRect{-488, -116, 1512, 884}));
  // On a second monitor, relative to it.
  EXPECT_EQ(PlacePicture(TScaleMode::Fit, 4000, 3000, {1024, 0, 1824, 600}),
            (TRect{1024, 0, 1824, 600}));
}

TEST(SlideComposer, OwnSizeCopiesEveryPixelExactly) {
  TComposer composer;
  composer.Settings.SetScale(TScaleMode::None);
  TJPEGImage jpeg(test::MakeJpeg(2000, 1000));
  TBitmap slide = composer.Compose(&jpeg, 1024, 768);
  TBitmap picture = jpeg.Decode(1);
  for (auto [x, y] : {std::pair{0, 0}, {1023, 767}, {511, 400}})
    EXPECT_EQ(slide.Pixel(x, y), picture.Pixel(x + 488, y + 116)) << x << "," << y;
  EXPECT_TRUE(IsBlack(composer.Compose(nullptr, 300, 200).Pixel(150, 100)))
      << "an empty picture: black";
}

TEST(SlideComposer, FitLeavesBarsAndFillCoversTheScreen) {
  TComposer composer;
  TJPEGImage jpeg(test::MakeJpeg(400, 300, false, false, 250, 250, 250));
  composer.Settings.SetScale(TScaleMode::Fit);
  TBitmap fitted = composer.Compose(&jpeg, 320, 180);  // picture at (40, 0)-(280, 180)
  EXPECT_TRUE(IsBlack(fitted.Pixel(38, 90)));
  EXPECT_FALSE(IsBlack(fitted.Pixel(41, 90)));
  EXPECT_FALSE(IsBlack(fitted.Pixel(278, 90)));
  EXPECT_TRUE(IsBlack(fitted.Pixel(281, 90)));
  composer.Settings.SetScale(TScaleMode::Fill);
  TBitmap filled = composer.Compose(&jpeg, 320, 180);
  for (auto [x, y] : {std::pair{0, 0}, {319, 179}, {0, 179}, {319, 0}})
    EXPECT_FALSE(IsBlack(filled.Pixel(x, y))) << x << "," << y;
}

TEST(SlideComposer, EveryMonitorShowsTheWholePictureAndItsOwnCaption) {
  TComposer composer;
  composer.Settings.SetScale(TScaleMode::Fit);
  composer.Settings.Text = "Hi";  // 12 x 10
  composer.Settings.CaptionMargin = 8;
  // Side by side as Wine reports two screens: 400 x 300 and 200 x 150 below
  // the top, at twice the resolution.
  const std::vector<TMonitor> monitors{{{0, 0, 400, 300}, 96}, {{400, 0, 600, 150}, 192}};
  TJPEGImage jpeg(test::MakeJpeg(200, 200, false, false, 250, 250, 250));
  TBitmap slide = composer.ComposeOn(&jpeg, 600, 300, monitors, {"Hi"});
  // A square fitted into each: (50, 0)-(350, 300) and (425, 0)-(575, 150).
  EXPECT_TRUE(IsBlack(slide.Pixel(48, 150)));
  EXPECT_FALSE(IsBlack(slide.Pixel(52, 150)));
  EXPECT_TRUE(IsBlack(slide.Pixel(423, 75)));
  EXPECT_FALSE(IsBlack(slide.Pixel(427, 75)));
  EXPECT_FALSE(IsBlack(slide.Pixel(573, 75)));
  EXPECT_TRUE(IsBlack(slide.Pixel(577, 75)));
  EXPECT_TRUE(IsBlack(slide.Pixel(500, 200))) << "below the smaller monitor";
  ASSERT_EQ(composer.Painter.Texts.size(), 2u);
  EXPECT_EQ(composer.Painter.Texts[0].X, 200 - 6);
  EXPECT_EQ(composer.Painter.Texts[0].Y, 300 - 10 - 8);
  EXPECT_EQ(composer.Painter.Texts[1].X, 500 - 6);
  EXPECT_EQ(composer.Painter.Texts[1].Y, 150 - 10 - 16) << "the margin grows with the resolution";
  EXPECT_EQ(composer.Painter.Texts[1].Clip, monitors[1].Bounds);
}

TEST(SlideComposer, CaptionIsCentredFlushAtTheBottomUnlessAMarginOrShadowIsAsked) {
  TComposer composer;
  TJPEGImage jpeg(test::MakeJpeg(8, 8));
  composer.Compose(&jpeg, 1024, 768);
  EXPECT_TRUE(composer.Painter.Texts.empty()) << "no caption text: nothing drawn";
  composer.Settings.Text = "Greetings";  // 54 x 10
  composer.Compose(&jpeg, 1024, 768);
  ASSERT_EQ(composer.Painter.Texts.size(), 1u);
  EXPECT_EQ(composer.Painter.Texts[0].X, 512 - 27);
  EXPECT_EQ(composer.Painter.Texts[0].Y, 758);
  // Wider than the screen within its margins: two lines, each centred, the
  // last one at the bottom.
  composer.Settings.Text = "Morning light over the harbour";  // 180 wide
  composer.Settings.CaptionMargin = 20;
  composer.Painter.Texts.clear();
  composer.Compose(&jpeg, 160, 100);
  ASSERT_EQ(composer.Painter.Texts.size(), 2u);
  EXPECT_EQ(composer.Painter.Texts[0].Text, "Morning light over");  // 108 wide
  EXPECT_EQ(composer.Painter.Texts[0].X, 80 - 54);
  EXPECT_EQ(composer.Painter.Texts[0].Y, 100 - 20 - 20);
  EXPECT_EQ(composer.Painter.Texts[1].Text, "the harbour");
  EXPECT_EQ(composer.Painter.Texts[1].Y, 100 - 20 - 10);
  composer.Settings.CaptionMargin = 0;

  // White text on a white picture: only a shadow sets it off.
  TJPEGImage white(test::MakeJpeg(64, 64, false, false, 255, 255, 255));
  composer.Settings.Text = "Hi";
  composer.Settings.SetScale(TScaleMode::Stretch);
  TBitmap plain = composer.Compose(&white, 100, 60);
  composer.Settings.lCaptionShadow = true;
  TBitmap shadowed = composer.Compose(&white, 100, 60);
  EXPECT_EQ(plain.Pixel(50, 30), shadowed.Pixel(50, 30)) << "well away from the caption";
  EXPECT_EQ(shadowed.Pixel(50, 55), 0xFFFFFFu) << "the text itself";
  EXPECT_LT(shadowed.Pixel(56, 59) & 0xFF, plain.Pixel(56, 59) & 0xFF) << "beside the text";
}

}  // namespace
}  // namespace pixvane
