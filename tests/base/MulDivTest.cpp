#include <gtest/gtest.h>

#include "base/MulDiv.h"

namespace pixvane {
namespace {

TEST(MulDiv, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(MulDiv(1, 1, 2), 1);
  EXPECT_EQ(MulDiv(-1, 1, 2), -1);
  EXPECT_EQ(MulDiv(1, -1, 2), -1);
  EXPECT_EQ(MulDiv(1, 1, -2), -1);
  EXPECT_EQ(MulDiv(-1, -1, -2), -1);
  EXPECT_EQ(MulDiv(1920, 37, 100), 710);  // 710.4
  EXPECT_EQ(MulDiv(1920, 4, 90), 85);     // 85.33
  EXPECT_EQ(MulDiv(100, 4, 90), 4);
  EXPECT_EQ(MulDiv(5, 3, 6), 3);  // 2.5
  EXPECT_EQ(MulDiv(-5, 3, 6), -3);
}

TEST(MulDiv, UsesAWideIntermediateAndReportsWhatDoesNotFit) {
  EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);
  EXPECT_EQ(MulDiv(5, 7, 0), -1);
  EXPECT_EQ(MulDiv(2000000000, 2, 1), -1);
  EXPECT_EQ(MulDiv(INT32_MIN, 1, 1), -1);
}

}  // namespace
}  // namespace pixvane
