#include <gtest/gtest.h>

#include "skin/controls/ControlInput.h"
#include "skin/controls/ControlLayout.h"

namespace pixvane {
namespace {

TEST(ControlLayout, TheImageGrowsAndShrinksInStepsOfThirty) {
  EXPECT_EQ(SkinBitmapExtent(0), 30);
  EXPECT_EQ(SkinBitmapExtent(29), 30);
  EXPECT_EQ(SkinBitmapExtent(30), 60);
  EXPECT_EQ(SkinBitmapExtent(75), 90);
  EXPECT_FALSE(SkinBitmapNeedsRemaking(90, 30, 75, 25));
  EXPECT_TRUE(SkinBitmapNeedsRemaking(90, 30, 91, 25));
  EXPECT_FALSE(SkinBitmapNeedsRemaking(90, 30, 60, 25));
  EXPECT_TRUE(SkinBitmapNeedsRemaking(90, 30, 59, 25));
}

TEST(ControlLayout, ButtonContentIsCentredWithItsGlyph) {
  // Caption alone: centred, halves rounded towards zero, pressed one pixel on.
  TButtonContent c = ButtonContentOf(75, 25, 20, 13, 0, 0, TButtonLayout::blGlyphLeft, 4, false);
  EXPECT_EQ(c.Caption, (TRect{27, 6, 47, 19}));
  EXPECT_TRUE(c.Glyph.IsEmpty());
  c = ButtonContentOf(75, 25, 20, 13, 0, 0, TButtonLayout::blGlyphLeft, 4, true);
  EXPECT_EQ(c.Caption, (TRect{28, 7, 48, 20}));

  // A 16 x 16 glyph on the left: content 40 wide, as high as the glyph.
  c = ButtonContentOf(75, 25, 20, 13, 16, 16, TButtonLayout::blGlyphLeft, 4, false);
  EXPECT_EQ(c.Glyph, (TRect{17, 4, 33, 20}));
  EXPECT_EQ(c.Caption, (TRect{37, 5, 57, 18}));
  c = ButtonContentOf(75, 60, 20, 13, 16, 16, TButtonLayout::blGlyphBottom, 4, false);
  EXPECT_EQ(c.Caption, (TRect{27, 13, 47, 26}));
  EXPECT_EQ(c.Glyph, (TRect{29, 30, 45, 46}));
}

TEST(ControlLayout, CheckBoxAndAccelerators) {
  TCheckBoxContent c = CheckBoxContentOf(98, 20, 13, 13, 5, 60, 15);
  EXPECT_EQ(c.Box, (TRect{0, 3, 13, 16}));
  EXPECT_EQ(c.Caption, (TRect{18, 2, 78, 17}));
  // The focus frame's columns stand clear of the text on both sides, and
  // where the caption is as high as the box, its lines stay inside it.
  EXPECT_EQ(c.Focus, (TRect{16, 1, 80, 18}));
  c = CheckBoxContentOf(84, 15, 13, 13, 5, 62, 15);
  EXPECT_EQ(c.Focus, (TRect{16, 0, 82, 15}));

  TCaptionMarks marks = CaptionMarks("Fish && &chips &and");
  EXPECT_EQ(marks.Shown, "Fish & chips and");
  EXPECT_EQ(marks.Mark, 7);
  EXPECT_EQ(CaptionMarks("trailing &").Shown, "trailing ");
  EXPECT_EQ(CaptionMarks("none").Mark, -1);

  EXPECT_EQ(AcceleratorOf("&Ok"), 'O');
  EXPECT_EQ(AcceleratorOf("Musik &aus"), 'A');
  EXPECT_EQ(AcceleratorOf("Fish && &chips"), 'C');
  EXPECT_EQ(AcceleratorOf("Fish && chips"), 0);
  EXPECT_EQ(AcceleratorOf("trailing &"), 0);
  EXPECT_TRUE(IsAccelerator("&Ok", 'o'));
  EXPECT_FALSE(IsAccelerator("Mute music", 'm'));
}

}  // namespace
}  // namespace pixvane
