#include <gtest/gtest.h>

#include <algorithm>

#include "base/Random.h"
#include "show/PictureOrder.h"

namespace pixvane {
namespace {

TSSFileLocations Pictures(int count, TSaverKind kind = TSaverKind::Photo) {
  TSSFileLocations settings;
  settings.SetKind(kind);
  for (int i = 0; i < count; ++i) settings.PicList.Items.push_back(std::to_string(1000 * i));
  return settings;
}

std::vector<int32_t> Take(TPictureOrder& order, int count) {
  std::vector<int32_t> taken;
  for (int i = 0; i < count; ++i) taken.push_back(order.Next().value_or(-1));
  return taken;
}

TEST(PictureOrder, ShuffleShowsEveryPictureOncePerRoundAndNeverTwiceInARow) {
  for (int count : {2, 3, 7}) {
    TSSFileLocations settings = Pictures(count);
    settings.lRandomPic = settings.lShufflePic = true;  // as the tool writes it
    for (uint32_t seed : {1u, 77u, 4242u}) {
      SCOPED_TRACE("count " + std::to_string(count) + ", seed " + std::to_string(seed));
      TRandom random(seed);
      TPictureOrder order(settings, random);
      std::vector<int32_t> shown = Take(order, count * 40);
      for (size_t i = 1; i < shown.size(); ++i) ASSERT_NE(shown[i], shown[i - 1]) << "at " << i;
      for (size_t round = 0; round < shown.size(); round += count) {
        std::vector<int32_t> one(shown.begin() + round, shown.begin() + round + count);
        std::sort(one.begin(), one.end());
        for (int i = 0; i < count; ++i) ASSERT_EQ(one[i], i) << "round at " << round;
      }
      // Rounds differ: the order is dealt anew each time, not repeated.
      EXPECT_FALSE(count == 7 && std::equal(shown.begin(), shown.begin() + 7, shown.begin() + 7));
    }
  }
  TSSFileLocations one = Pictures(1);
  one.lShufflePic = true;
  TRandom random;
  TPictureOrder alone(one, random);
  EXPECT_EQ(Take(alone, 3), (std::vector<int32_t>{0, 0, 0}));
}

TEST(PictureOrder, AShuffledFlashSaverHandsOverAfterOneRound) {
  TSSFileLocations flash = Pictures(3, TSaverKind::Flash);
  flash.lShufflePic = true;
  TRandom random;
  TPictureOrder order(flash, random);
  std::vector<int32_t> shown = Take(order, 4);
  EXPECT_EQ(shown[3], -1);
  std::sort(shown.begin(), shown.begin() + 3);
  EXPECT_EQ(shown, (std::vector<int32_t>{0, 1, 2, -1}));
}

TEST(PictureOrder, PortraitPicturesGoToPortraitMonitorsFirst) {
  EXPECT_EQ(MatchOrientations({false, true}, {true, false}), (std::vector<int>{1, 0}));
  EXPECT_EQ(MatchOrientations({false, false, true}, {true, false, false}),
            (std::vector<int>{2, 0, 1}));
  // No portrait picture for the portrait monitor: it takes what is left,
  // after the landscape monitor has taken its own.
  EXPECT_EQ(MatchOrientations({false, false}, {true, false}), (std::vector<int>{1, 0}));
  EXPECT_EQ(MatchOrientations({true}, {false, true}), (std::vector<int>{-1, 0}));
}

}  // namespace
}  // namespace pixvane
