#include <gtest/gtest.h>

#include "base/Random.h"

namespace pixvane {
namespace {

TEST(Random, FollowsTheCongruentialFormula) {
  TRandom random;
  EXPECT_EQ(random.Random(100), 0);  // state 1: 1 * 100 >> 32
  EXPECT_EQ(random.RandSeed(), 1u);
  EXPECT_EQ(random.Random(1000), 31);  // state 134775814
  EXPECT_EQ(random.RandSeed(), 134775814u);

  uint32_t s = 0xDEADBEEF;
  random.SetRandSeed(s);
  for (int i = 0; i < 1000; ++i) {
    s = s * 134775813u + 1u;
    int32_t n = 1 + i * 7919;
    EXPECT_EQ(random.Random(n), static_cast<int32_t>((uint64_t{s} * uint32_t(n)) >> 32));
  }
}

TEST(Random, ZeroRangeGivesZeroButStillAdvances) {
  TRandom random(5);
  EXPECT_EQ(random.Random(0), 0);
  EXPECT_EQ(random.RandSeed(), 5u * 134775813u + 1u);
}

TEST(Random, StaysInRange) {
  TRandom random(12345);
  for (int i = 0; i < 10000; ++i) {
    int32_t v = random.Random(7);
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 7);
  }
}

TEST(Random, SeedsFromTimeOfDay) {
  TRandom random;
  random.SeedFromTime(23, 59, 59, 999);
  EXPECT_EQ(random.RandSeed(), 86399999u);
}

TEST(Random, GeneratorsDrawApart) {
  TRandom a(77), b(77);
  const int32_t first = a.Random(1000);
  EXPECT_EQ(b.RandSeed(), 77u) << "drawing from one leaves the other alone";
  EXPECT_EQ(b.Random(1000), first);
}

}  // namespace
}  // namespace pixvane
