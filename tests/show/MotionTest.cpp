#include "show/Motion.h"

#include <gtest/gtest.h>

namespace pixvane {
namespace {

// A path as a show draws one, its choices from random.
TMotionPath RandomPath(TRandom& random, double zoom, double roomX, double roomY) {
  return TMotionPath::Make(TMotionDraw::Random(random), zoom, roomX, roomY);
}

// The moving picture covers what the still one showed, at every moment of
// every path: filling, no black edge ever shows; fitted, the bars stay
// exactly where they were.
TEST(MotionPath, NeverUncoversWhatTheStillPictureCovered) {
  const TRect screen{0, 0, 1920, 1080};
  const TRect fill{-240, 0, 2160, 1080};  // a 4:3 photo filling the screen
  const TRect fit{240, 0, 1680, 1080};    // the same photo fitted
  TRandom random(99);
  for (int slide = 0; slide < 50; ++slide) {
    const TMotionPath path = RandomPath(random, 1.5, 500, 540);
    for (double progress : {-0.5, 0.0, 0.13, 0.5, 0.77, 1.0, 1.5}) {
      for (const TRect& placement : {fill, fit}) {
        const TMotionFrame frame = path.At(progress, placement, screen);
        EXPECT_EQ(frame.Clip, placement.Intersect(screen));
        EXPECT_LE(frame.Left, frame.Clip.Left + 1e-9);
        EXPECT_LE(frame.Top, frame.Clip.Top + 1e-9);
        EXPECT_GE(frame.Left + frame.Width, frame.Clip.Right - 1e-9);
        EXPECT_GE(frame.Top + frame.Height, frame.Clip.Bottom - 1e-9);
        EXPECT_GE(frame.Width, placement.Width());
        EXPECT_LE(frame.Width, placement.Width() * 1.5 + 1e-9);
      }
    }
  }
}

TEST(MotionPath, ZoomsBetweenOneAndTheZoomAndPansTheLongWay) {
  TRandom random(5);
  bool zoomedIn = false, zoomedOut = false;
  for (int slide = 0; slide < 20; ++slide) {
    // A portrait photo filling a landscape screen has far more room down
    // than across: it pans from top to bottom or back.
    const TMotionPath portrait = RandomPath(random, 1.2, 384, 2232);
    EXPECT_EQ(std::abs(portrait.ToY - portrait.FromY), 1.0);
    const TMotionPath landscape = RandomPath(random, 1.2, 288, 162);
    EXPECT_EQ(std::abs(landscape.ToX - landscape.FromX), 1.0);
    EXPECT_EQ(std::min(portrait.ZoomFrom, portrait.ZoomTo), 1.0);
    EXPECT_EQ(std::max(portrait.ZoomFrom, portrait.ZoomTo), 1.2);
    zoomedIn |= portrait.ZoomTo > portrait.ZoomFrom;
    zoomedOut |= portrait.ZoomTo < portrait.ZoomFrom;
  }
  EXPECT_TRUE(zoomedIn && zoomedOut);

  // The same seed, the same path: `render --seed` repeats a show's motion.
  random.SetRandSeed(77);
  const TMotionPath a = RandomPath(random, 1.15, 100, 50);
  random.SetRandSeed(77);
  const TMotionPath b = RandomPath(random, 1.15, 100, 50);
  EXPECT_EQ(a.FromY, b.FromY);
  EXPECT_EQ(a.ToY, b.ToY);
  EXPECT_EQ(a.ZoomFrom, b.ZoomFrom);
}

TEST(MotionPace, SpansTheIntervalAndTheTransitionsAround) {
  EXPECT_DOUBLE_EQ(MotionPace(5000, 1000), 1.0 / 7000);
  EXPECT_DOUBLE_EQ(MotionPace(0, 0), 1.0 / 10000) << "a show that stays still moves once";
}

}  // namespace
}  // namespace pixvane
