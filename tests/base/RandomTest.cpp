#include <gtest/gtest.h>

#include "base/Random.h"

namespace pixvane {
namespace {

TEST(Random, FollowsTheCongruentialFormula) {
  SetRandSeed(0);
  EXPECT_EQ(Random(100), 0);  // state 1: 1 * 100 >> 32
  EXPECT_EQ(RandSeed(), 1u);
  EXPECT_EQ(Random(1000), 31);  // state 134775814
  EXPECT_EQ(RandSeed(), 134775814u);

  uint32_t s = 0xDEADBEEF;
  SetRandSeed(s);
  for (int i = 0; i < 1000; ++i) {
    s = s * 134775813u + 1u;
    int32_t n = 1 + i * 7919;
    EXPECT_EQ(Random(n), static_cast<int32_t>((uint64_t{s} * uint32_t(n)) >> 32));
  }
}

TEST(Random, ZeroRangeGivesZeroButStillAdvances) {
  SetRandSeed(5);
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(RandSeed(), 5u * 134775813u + 1u);
}

TEST(Random, StaysInRange) {
  SetRandSeed(12345);
  for (int i = 0; i < 10000; ++i) {
    int32_t v = Random(7);
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 7);
  }
}

TEST(Random, SeedsFromTimeOfDay) {
  SeedRandomFromTime(23, 59, 59, 999);
  EXPECT_EQ(RandSeed(), 86399999u);
}

}  // namespace
}  // namespace pixvane
