// Painting: fills and texts, bitmap parts by tile style, nine-part boxes,
// state bitmaps, alpha, shape regions and the hue rule.
#include <gtest/gtest.h>

#include "skin/SkinBitmapObjects.h"
#include "skin/SkinHue.h"
#include "skin/SkinText.h"

namespace pixvane {
namespace {

constexpr TSkinPixel Paper = 0xFF102030;

// A source whose every pixel tells where it came from.
std::unique_ptr<TSkinBitmap> Numbered(const char* name, int32_t width, int32_t height) {
  auto bitmap = std::make_unique<TSkinBitmap>(width, height);
  bitmap->Name = name;
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) bitmap->SetPixel(x, y, 0xFF000000u | (x << 8) | y);
  return bitmap;
}

TSkinPixel From(int32_t x, int32_t y) {
  return 0xFF000000u | (x << 8) | y;
}

void Link(TSkinBitmapLink& link, const char* name, TRect rect) {
  link.Name = name;
  link.Left = rect.Left;
  link.Top = rect.Top;
  link.Right = rect.Right;
  link.Bottom = rect.Bottom;
}

struct TBoxRig {
  TSkinBitmapList Bitmaps;
  TBitmapBoxObject Box;
  TSkinBitmap Target{50, 20, Paper};

  explicit TBoxRig(int32_t tile, int32_t border) {
    Bitmaps.push_back(Numbered("Face", 12, 12));
    Link(Box.Bitmap, "face", {0, 0, 12, 12});
    Box.MarginLeft = Box.MarginTop = Box.MarginRight = Box.MarginBottom = 3;
    Box.TileStyle = tile;
    Box.BorderTileStyle = border;
    Box.SetBounds(0, 0, 50, 20);
    Box.SetBitmaps(&Bitmaps);
    Box.AfterLoad();
    Box.PaintTo(Target);
  }
};

TEST(SkinPaint, ABoxKeepsItsCornersAndTilesItsEdgesAndCentre) {
  TBoxRig rig(tsTile, tsTile);
  EXPECT_EQ(rig.Target.Pixel(0, 0), From(0, 0));
  EXPECT_EQ(rig.Target.Pixel(49, 0), From(11, 0));
  EXPECT_EQ(rig.Target.Pixel(47, 17), From(9, 9));
  EXPECT_EQ(rig.Target.Pixel(49, 19), From(11, 11));
  // The top edge repeats source columns 3..8 from x = 3: x = 9 is column 3 again.
  EXPECT_EQ(rig.Target.Pixel(9, 1), From(3, 1));
  EXPECT_EQ(rig.Target.Pixel(10, 1), From(4, 1));
  // The centre repeats the 6 x 6 middle from (3, 3).
  EXPECT_EQ(rig.Target.Pixel(9, 9), From(3, 3));
  EXPECT_EQ(rig.Target.Pixel(46, 16), From(4, 4));
}

TEST(SkinPaint, AStretchedBoxScalesItsCentreAndEdgesOnly) {
  TBoxRig rig(tsStretch, tsStretch);
  EXPECT_EQ(rig.Target.Pixel(49, 19), From(11, 11));
  // 44 columns of centre from 6 source columns: the last is column 8.
  EXPECT_EQ(rig.Target.Pixel(46, 10), From(8, 3 + (10 - 3) * 6 / 14));
  EXPECT_EQ(rig.Target.Pixel(3, 0), From(3, 0));
}

TEST(SkinPaint, TransparentPixelsAreSkippedAndHalfAlphaBlends) {
  TSkinBitmapList bitmaps;
  auto source = std::make_unique<TSkinBitmap>(2, 1);
  source->Name = "Dots";
  source->SetPixel(0, 0, TransparentKey);
  source->SetPixel(1, 0, 0x80FF0000);  // red at alpha 128
  bitmaps.push_back(std::move(source));
  TBitmapSkinObject object;
  Link(object.Bitmap, "Dots", {0, 0, 2, 1});
  object.SetBounds(0, 0, 2, 1);
  object.SetBitmaps(&bitmaps);
  object.AfterLoad();
  TSkinBitmap target(2, 1, 0xFF0000FF);  // opaque blue
  object.PaintTo(target);
  EXPECT_EQ(target.Pixel(0, 0), 0xFF0000FFu);
  // Per channel (s * 128 + 128) div 256 + (t * 127 + 128) div 256.
  EXPECT_EQ(target.Pixel(1, 0), 0xFF80007Fu);
}

TEST(SkinPaint, AButtonBoxPaintsItsStateBitmapOnlyWhenThatLinkIsUsable) {
  TSkinBitmapList bitmaps;
  bitmaps.push_back(Numbered("Faces", 8, 2));
  TButtonBitmapBoxObject button;
  Link(button.Bitmap, "Faces", {0, 0, 2, 2});
  Link(button.Bitmaps[lsDisabled], "Faces", {6, 0, 8, 2});
  Link(button.Bitmaps[lsHot], "Missing", {2, 0, 4, 2});
  button.SetBounds(0, 0, 2, 2);
  button.SetBitmaps(&bitmaps);
  button.AfterLoad();
  TSkinBitmap target(2, 2);
  button.SetState(StateDisabled);
  button.PaintTo(target);
  EXPECT_EQ(target.Pixel(0, 0), From(6, 0));
  button.SetState(StateHot);
  button.PaintTo(target);
  EXPECT_EQ(target.Pixel(0, 0), From(0, 0));
}

TEST(SkinPaint, AnObjectFillsItsRectAndADashDrawsASeparatorLine) {
  TSkinObject object;
  object.Color = 0x00FF00;
  object.Font.Color = 0x0000FF;
  object.Text = "-";
  object.SetBounds(1, 1, 20, 9);
  TSkinBitmap target(22, 11, Paper);
  object.PaintTo(target);
  EXPECT_EQ(target.Pixel(0, 0), Paper);
  EXPECT_EQ(target.Pixel(1, 1), OpaquePixel(0x00FF00));
  EXPECT_EQ(target.Pixel(3, 5), OpaquePixel(0x00FF00));  // inset by 3
  EXPECT_EQ(target.Pixel(4, 5), OpaquePixel(0x0000FF));  // at half the height
  EXPECT_EQ(target.Pixel(17, 5), OpaquePixel(0x0000FF));
  EXPECT_EQ(target.Pixel(18, 5), OpaquePixel(0x00FF00));
  EXPECT_EQ(target.Pixel(4, 6), OpaquePixel(0x00FF00));
}

TEST(SkinPaint, TextIsPlacedByItsAlignmentAndDrawnGreyWhenDisabled) {
  TSkinObject object;
  object.Color = 0xFFFFFF;
  object.Font.Color = 0x000000;
  object.Text = "Ok";
  object.TextAlign = taRight;
  object.Enabled = false;
  object.SetBounds(0, 0, 80, 20);
  TSkinBitmap target(80, 20);
  object.PaintTo(target);
  int32_t inked = 0, leftmost = 80;
  for (int32_t y = 0; y < 20; ++y)
    for (int32_t x = 0; x < 80; ++x)
      if (target.Pixel(x, y) != OpaquePixel(0xFFFFFF)) {
        ++inked;
        leftmost = std::min(leftmost, x);
        EXPECT_GE(target.Pixel(x, y) & 0xFF, 0x80u);  // grey on white, never darker
      }
  EXPECT_GT(inked, 0);
  EXPECT_GT(leftmost, 80 - TextExtent(object.Font, "Ok").X - 2);
}

TEST(SkinPaint, ATitleTooWideEndsInTheLongestFittingBeginningAndDots) {
  TFont font;
  const std::string title = "A rather long window title";
  const int32_t width = TextExtent(font, "A rather...").X;
  const std::string shown = EllipsisText(font, title, width);
  EXPECT_EQ(shown, "A rather...");
  EXPECT_EQ(EllipsisText(font, title, 1000), title);
  EXPECT_EQ(EllipsisText(font, title, 0), "...");
}

TEST(SkinPaint, ABitmapObjectsShapeIsThePixelsItPaints) {
  TSkinBitmapList bitmaps;
  auto source = std::make_unique<TSkinBitmap>(3, 1, 0xFF00FF00);
  source->Name = "Corner";
  source->SetPixel(0, 0, TransparentKey);
  bitmaps.push_back(std::move(source));
  TBitmapSkinObject object;
  Link(object.Bitmap, "Corner", {0, 0, 3, 1});
  object.SetBounds(10, 20, 3, 2);
  object.SetBitmaps(&bitmaps);
  object.AfterLoad();
  TRegion region = object.MakeRegion();
  EXPECT_EQ(region.Bounds(), (TRect{11, 20, 13, 22}));
  EXPECT_FALSE(region.Contains(10, 21));
  EXPECT_EQ(object.Left(), 10);  // put back
  object.Kind = skClient;
  EXPECT_EQ(object.MakeRegion().Bounds(), (TRect{10, 20, 13, 22}));
}

TEST(SkinPaint, HueTurnsRgbColoursAndLeavesSystemColoursAndTheKeyAlone) {
  EXPECT_EQ(ShiftColorHue(0x0000FF, 120), 0x00FF00);   // red to green
  EXPECT_EQ(ShiftColorHue(0x0000FF, -120), 0xFF0000);  // red to blue
  EXPECT_EQ(ShiftColorHue(0x808080, 77), 0x808080);
  EXPECT_EQ(ShiftColorHue(clWindowText, 90), clWindowText);
  TSkinBitmap bitmap(2, 1, 0xFFFF0000);
  bitmap.SetPixel(1, 0, TransparentKey);
  ShiftBitmapHue(bitmap, 120);
  EXPECT_EQ(bitmap.Pixel(0, 0), 0xFF00FF00u);
  EXPECT_EQ(bitmap.Pixel(1, 0), TransparentKey);
}

}  // namespace
}  // namespace pixvane
