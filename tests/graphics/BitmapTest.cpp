#include <gtest/gtest.h>

#include "graphics/Bitmap.h"

namespace pixvane {
namespace {

TEST(Bitmap, RowsArePaddedToFourBytesAndTopDown) {
  // The Windows layer hands these bytes to a DIB with negative height, so
  // the layout has to be exactly the platform's.
  const int32_t widths[] = {1, 2, 3, 4, 5, 1920};
  const size_t strides[] = {4, 8, 12, 12, 16, 5760};
  for (int i = 0; i < 6; ++i) {
    TBitmap b(widths[i], 3);
    EXPECT_EQ(b.Stride(), strides[i]) << widths[i];
    EXPECT_EQ(b.ByteSize(), strides[i] * 3);
    EXPECT_EQ(b.ScanLine(2), b.Bits() + 2 * strides[i]);
  }
}

TEST(Bitmap, PixelsAreStoredBlueGreenRed) {
  TBitmap b(2, 2);
  b.Fill(RGBColor(0x11, 0x22, 0x33));
  const uint8_t* p = b.ScanLine(1) + 3;
  EXPECT_EQ(p[0], 0x33);  // blue first
  EXPECT_EQ(p[1], 0x22);
  EXPECT_EQ(p[2], 0x11);
  EXPECT_EQ(b.Pixel(1, 1), RGBColor(0x11, 0x22, 0x33));
  b.SetPixel(0, 0, 0x00FF0000);  // a TColor with only blue
  EXPECT_EQ(b.ScanLine(0)[0], 0xFF);
  EXPECT_EQ(b.ScanLine(0)[2], 0x00);
}

TEST(Bitmap, FillRectStaysOnTheBitmapAndLeavesPaddingAlone) {
  TBitmap b(5, 4);  // 15 bytes of pixels, 1 byte of padding per row
  b.Fill(RGBColor(1, 2, 3));
  b.ScanLine(0)[15] = 0xAB;
  b.FillRect(TRect{3, -2, 99, 2}, RGBColor(200, 100, 50));
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 5; ++x)
      EXPECT_EQ(b.Pixel(x, y), x >= 3 && y < 2 ? RGBColor(200, 100, 50) : RGBColor(1, 2, 3))
          << x << "," << y;
  EXPECT_EQ(b.ScanLine(0)[15], 0xAB);
  b.FillRect(TRect{4, 3, 2, 1}, 0);  // reversed: nothing
  b.FillRect(TRect{-9, -9, -1, -1}, 0);
  EXPECT_EQ(b.Pixel(2, 1), RGBColor(1, 2, 3));
}

TEST(Bitmap, ResizeKeepsTheSharedPartAndBlackensTheRest) {
  TBitmap b(3, 2);
  b.Fill(RGBColor(9, 9, 9));
  b.SetPixel(2, 1, RGBColor(7, 8, 9));
  b.SetSize(4, 3);
  EXPECT_EQ(b.Width(), 4);
  EXPECT_EQ(b.Height(), 3);
  EXPECT_EQ(b.Pixel(2, 1), RGBColor(7, 8, 9));
  EXPECT_EQ(b.Pixel(0, 0), RGBColor(9, 9, 9));
  EXPECT_EQ(b.Pixel(3, 0), 0u);
  EXPECT_EQ(b.Pixel(1, 2), 0u);
  b.SetSize(2, 1);
  EXPECT_EQ(b.Stride(), 8u);
  EXPECT_EQ(b.Pixel(1, 0), RGBColor(9, 9, 9));
}

TEST(Bitmap, ZeroSizesHaveNoPixels) {
  TBitmap empty;
  EXPECT_TRUE(empty.IsEmpty());
  empty.Fill(RGBColor(1, 1, 1));  // must not touch memory
  TBitmap flat(7, 0);
  EXPECT_TRUE(flat.IsEmpty());
  EXPECT_EQ(flat.ByteSize(), 0u);
  TBitmap thin(0, 5);
  EXPECT_TRUE(thin.IsEmpty());
  EXPECT_EQ(thin.Height(), 5);
  thin.SetSize(2, 2);
  EXPECT_FALSE(thin.IsEmpty());
  EXPECT_EQ(thin.Pixel(1, 1), 0u);
}

}  // namespace
}  // namespace pixvane
