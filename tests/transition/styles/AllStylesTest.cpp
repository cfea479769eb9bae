// What holds for every style: the end shows the new picture, the start the
// old screen (but for the seven styles that show one-pixel edges there), a
// frame is a function of its inputs and the generator's state, and only
// the random styles draw from the generator.
#include <gtest/gtest.h>

#include <set>

#include "transition/styles/StyleRig.h"

namespace pixvane::test {
namespace {

const std::set<int> EdgesAtStart = {12, 13, 29, 30, 55, 56, 57};
const std::set<int> RandomStyles = {65,  66,  67,  68,  76,  77,  78,  79,  100, 101, 102, 103,
                                    104, 105, 106, 107, 108, 109, 123, 124, 125, 126, 127};

struct TSize {
  int W, H;
};
constexpr TSize Sizes[] = {{64, 36}, {36, 64}, {37, 23}, {3, 2}, {1, 1}};

TEST(AllStyles, EndShowsExactlyThePicture) {
  for (int style = 1; style <= StyleCount; ++style)
    for (TSize s : Sizes) {
      TStyleRig rig(s.W, s.H, style);
      rig.Render(60);
      EXPECT_EQ(InPlaceMask(rig.Render(100), rig.Picture()), TRegion(0, 0, s.W, s.H))
          << "style " << style << ", " << s.W << " x " << s.H;
    }
}

TEST(AllStyles, StartShowsTheOldScreen) {
  for (int style = 1; style <= StyleCount; ++style)
    for (TSize s : Sizes) {
      TStyleRig rig(s.W, s.H, style);
      rig.Render(30);
      const TRegion changed = ChangedMask(rig.Render(0), rig.Old());
      if (!EdgesAtStart.contains(style)) {
        EXPECT_TRUE(changed.IsEmpty()) << "style " << style << ", " << s.W << " x " << s.H;
        continue;
      }
      // One-pixel parts of the picture along the frame's edges.
      EXPECT_FALSE(changed.IsEmpty()) << "style " << style;
      if (s.W > 2 && s.H > 2) {
        EXPECT_TRUE((changed & TRegion(1, 1, s.W - 1, s.H - 1)).IsEmpty())
            << "style " << style << ", " << s.W << " x " << s.H;
      }
    }
}

TEST(AllStyles, RegionAndPixelStylesRepaintTheWholeFrame) {
  for (int style = 58; style <= StyleCount; ++style) {
    TStyleRig rig(40, 30, style);
    rig.Render(20);
    rig.Render(40);
    EXPECT_EQ(rig.Repainted(), TRegion(0, 0, 40, 30)) << "style " << style;
  }
}

TEST(AllStyles, SameStateSameFrame) {
  for (int style = 1; style <= StyleCount; ++style) {
    TStyleRig rig(90, 50, style);
    for (int p : {37, 63}) {
      rig.Random.SetRandSeed(2024);
      const TBitmap first = rig.Render(p);
      const uint32_t after = rig.Random.RandSeed();
      rig.Render(p + 20);
      rig.Random.SetRandSeed(2024);
      const TBitmap& second = rig.Render(p);
      EXPECT_EQ(InPlaceMask(second, first), TRegion(0, 0, 90, 50)) << "style " << style;
      EXPECT_EQ(rig.Random.RandSeed(), after) << "style " << style;
      EXPECT_EQ(after != 2024u, RandomStyles.contains(style))
          << "style " << style << " and the generator";
    }
  }
}

TEST(AllStyles, RandomStylesDrawAFreshPatternEachTime) {
  for (int style : RandomStyles) {
    TStyleRig rig(120, 80, style);
    rig.Random.SetRandSeed(1);
    const TBitmap first = rig.Render(40);
    rig.Render(20);
    rig.Random.SetRandSeed(2);
    EXPECT_NE(InPlaceMask(rig.Render(40), first), TRegion(0, 0, 120, 80)) << "style " << style;
  }
}

}  // namespace
}  // namespace pixvane::test
