#include "show/FramePace.h"

#include <gtest/gtest.h>

namespace pixvane {
namespace {

// Frames of one cost until the pace changes; how many that took.
int DrawUntilChanged(TFramePace& pace, uint32_t costUs) {
  for (int frame = 1; frame <= 300; ++frame)
    if (pace.Drawn(costUs)) return frame;
  return 0;
}

TEST(FramePaceTest, SlowsToASteadyRateTheMachineKeepsAndBackWhenThereIsRoom) {
  TFramePace pace;
  EXPECT_EQ(pace.PeriodUs(), 16666u);
  EXPECT_EQ(DrawUntilChanged(pace, 9000), 0) << "9 ms a frame keeps 60 a second";
  EXPECT_EQ(DrawUntilChanged(pace, 30000), 30) << "decided on a run of frames";
  EXPECT_EQ(pace.PeriodUs(), 33332u);
  EXPECT_EQ(DrawUntilChanged(pace, 30000), 30);
  EXPECT_EQ(pace.PeriodUs(), 49998u) << "20 a second for 30 ms frames";
  EXPECT_EQ(DrawUntilChanged(pace, 30000), 0);
  DrawUntilChanged(pace, 200000);
  DrawUntilChanged(pace, 200000);
  EXPECT_EQ(pace.PeriodUs(), 66664u) << "never below 15 a second";
  EXPECT_EQ(DrawUntilChanged(pace, 7000), 30);
  EXPECT_EQ(pace.PeriodUs(), 49998u) << "faster again one step at a time";
}

TEST(FramePaceTest, OneSlowFrameInARunDoesNotChangeThePace) {
  TFramePace pace;
  pace.Drawn(100000);
  EXPECT_EQ(DrawUntilChanged(pace, 5000), 0);
  EXPECT_EQ(pace.PeriodUs(), 16666u);
}

}  // namespace
}  // namespace pixvane
