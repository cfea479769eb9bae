// The pixel styles: the cross fade's arithmetic over every value, and the
// corner swing's angle, pivots and coverage.
#include <gtest/gtest.h>

#include <cmath>

#include "transition/styles/PixelStyles.h"
#include "transition/styles/StyleRig.h"
#include "transition/styles/SwingStyles.h"

namespace pixvane::test {
namespace {

TBitmap Solid(int w, int h, TColor color) {
  TBitmap b(w, h);
  b.Fill(color);
  return b;
}

TEST(CrossFade, TheTwoTermsAreTruncatedApart) {
  TStyleRig rig(Solid(9, 5, RGBColor(255, 200, 255)), Solid(9, 5, RGBColor(255, 100, 0)), 118);
  // p = 50: 127 + 127 = 254, 100 + 50 = 150, 127 + 0.
  EXPECT_EQ(rig.Render(50).Pixel(8, 4), RGBColor(254, 150, 127));
  // p = 33: 255 fading to 0 is 170.
  EXPECT_EQ(rig.Render(33).Pixel(0, 0) >> 16, 170u);
  EXPECT_EQ(InPlaceMask(rig.Render(100), rig.Picture()), TRegion(0, 0, 9, 5));
  EXPECT_TRUE(ChangedMask(rig.Render(0), rig.Old()).IsEmpty());
}

TEST(CrossFade, EveryPairOfValuesAtEveryProgress) {
  // Screen components run along x, picture components along y; widths of
  // 256 pixels (768 bytes) and the odd tails below cover every lane.
  TBitmap old(256, 256), picture(256, 256);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      old.SetPixel(x, y, RGBColor(x, x, x));
      picture.SetPixel(x, y, RGBColor(y, y, y));
    }
  for (int p = 0; p <= 100; ++p) {
    TBitmap screen = old;
    CrossFade(screen, picture, p);
    int wrong = 0;
    for (int y = 0; y < 256; ++y) {
      const uint8_t* row = screen.ScanLine(y);
      for (int x = 0; x < 256 * 3; ++x)
        wrong += row[x] != ((100 - p) * (x / 3)) / 100 + (p * y) / 100;
    }
    EXPECT_EQ(wrong, 0) << "p = " << p;
  }
}

TEST(CrossFade, NarrowRowsAndTheirTails) {
  for (int w = 1; w <= 13; ++w) {
    const TBitmap picture = CodedPicture(w, 3);
    TBitmap screen = OldPicture(w, 3);
    CrossFade(screen, picture, 61);
    const TBitmap old = OldPicture(w, 3);
    for (int y = 0; y < 3; ++y)
      for (int i = 0; i < w * 3; ++i)
        EXPECT_EQ(screen.ScanLine(y)[i],
                  (39 * old.ScanLine(y)[i]) / 100 + (61 * picture.ScanLine(y)[i]) / 100)
            << "width " << w;
    // The row padding is not the picture's business.
    for (size_t i = w * 3; i < screen.Stride(); ++i) EXPECT_EQ(screen.ScanLine(0)[i], 0);
  }
}

TEST(CornerSwing, AngleFromQuarterTurnToNone) {
  const double pi = std::acos(-1.0);
  EXPECT_EQ(SwingAngle(0), pi / 2);
  EXPECT_EQ(SwingAngle(50), pi / 4);
  EXPECT_EQ(SwingAngle(100), 0.0);
}

TEST(CornerSwing, NothingLandsAtTheStart) {
  for (int style = 119; style <= 122; ++style)
    for (auto [W, H] : {std::pair{64, 36}, {36, 64}, {1, 1}}) {
      TStyleRig rig(W, H, style);
      rig.Render(1);
      EXPECT_TRUE(ChangedMask(rig.Render(0), rig.Old()).IsEmpty()) << style;
      TBitmap screen = OldPicture(W, H);
      const int cx = style >= 121 ? W : -1, cy = style % 2 == 0 ? H : -1;
      CornerSwing(screen, CodedPicture(W, H), cx, cy, SwingAngle(0));
      EXPECT_TRUE(ChangedMask(screen, OldPicture(W, H)).IsEmpty()) << style;
    }
}

TEST(CornerSwing, NoAngleIsThePictureItself) {
  for (auto [cx, cy] : {std::pair{-1, -1}, {-1, 30}, {50, -1}, {50, 30}}) {
    TBitmap screen = OldPicture(50, 30);
    const TBitmap picture = CodedPicture(50, 30);
    CornerSwing(screen, picture, cx, cy, SwingAngle(100));
    EXPECT_EQ(InPlaceMask(screen, picture), TRegion(0, 0, 50, 30));
  }
}

TEST(CornerSwing, HalfwayAboutTheTopLeftCorner) {
  // dx = 11, dy = 1 at 45 degrees: u = round(7.07) - 1, v = round(8.49) - 1.
  TStyleRig rig(40, 30, 119);
  const TBitmap& screen = rig.Render(50);
  EXPECT_EQ(screen.Pixel(10, 0), CodeOf(6, 7));
  // On the diagonal u rounds to -1: still the old screen.
  EXPECT_EQ(screen.Pixel(5, 5), rig.Old().Pixel(5, 5));
}

TBitmap Rotated180(const TBitmap& b) {
  TBitmap r(b.Width(), b.Height());
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      r.SetPixel(b.Width() - 1 - x, b.Height() - 1 - y, b.Pixel(x, y));
  return r;
}

TEST(CornerSwing, OppositePivotsAreTheSameTurnRotated) {
  // Rounding halves to even is symmetric about zero, so the swing about the
  // bottom-right corner is the one about the top-left corner turned half
  // round, pixel for pixel; likewise the other two corners.
  const int W = 53, H = 31;
  const TBitmap old = OldPicture(W, H), picture = CodedPicture(W, H);
  for (int p : {13, 50, 77}) {
    TBitmap topLeft = Rotated180(old), bottomRight = old;
    CornerSwing(topLeft, Rotated180(picture), -1, -1, SwingAngle(p));
    CornerSwing(bottomRight, picture, W, H, SwingAngle(p));
    EXPECT_EQ(InPlaceMask(bottomRight, Rotated180(topLeft)), TRegion(0, 0, W, H)) << p;
    TBitmap bottomLeft = Rotated180(old), topRight = old;
    CornerSwing(bottomLeft, Rotated180(picture), -1, H, SwingAngle(p));
    CornerSwing(topRight, picture, W, -1, SwingAngle(p));
    EXPECT_EQ(InPlaceMask(topRight, Rotated180(bottomLeft)), TRegion(0, 0, W, H)) << p;
  }
}

TEST(CornerSwing, CoverageGrowsAsThePictureSwingsIn) {
  auto area = [](const TRegion& r) {
    int64_t sum = 0;
    r.ForEachRect([&](const TRect& a) { sum += int64_t{a.Width()} * a.Height(); });
    return sum;
  };
  for (int style = 119; style <= 122; ++style) {
    TStyleRig rig(80, 45, style);
    int64_t previous = 0;
    for (int p : {10, 30, 50, 70, 90, 99}) {
      const int64_t shown = area(ChangedMask(rig.Render(p), rig.Old()));
      EXPECT_GT(shown, previous) << "style " << style << " at " << p;
      previous = shown;
    }
  }
}

}  // namespace
}  // namespace pixvane::test
