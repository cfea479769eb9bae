#include <gtest/gtest.h>

#include "base/Errors.h"
#include "base/Random.h"
#include "show/MusicPlayer.h"

namespace pixvane {
namespace {

// Records the files played; a file named in Broken fails to open.
class TFakePlayer : public TMediaPlayer {
 public:
  std::string FileName;
  std::vector<std::string> Played;
  std::string Broken;
  bool LastPlayNotifies = false;

  void SetFileName(const std::string& path) override { FileName = path; }
  void Open() override {
    if (FileName == Broken)
      throw EError("The specified device is not open or is not recognized by MCI.");
  }
  void Play() override { Played.push_back(FileName); }
  void Stop() override {}
  void SetNotify(bool) override {}
};

struct TMusic {
  TSSFileLocations Settings;
  TFakePlayer Player;
  TRandom Random;
  TMusicPlayer Music{Settings, Player, Random, [](const std::string& name) { return "T/" + name; }};

  TMusic(int sounds, int order) {
    for (int i = 0; i < sounds; ++i) {
      Settings.SndList.Items.push_back(std::to_string(100 * i));
      Settings.SndFileNamesList.Items.push_back("s" + std::to_string(i));
    }
    Settings.SoundRandom = order;
  }
  // Starts, then lets each track end while one was playing.
  std::vector<std::string> Run(int tracks) {
    Music.Start();
    while (static_cast<int>(Player.Played.size()) < tracks) {
      size_t before = Player.Played.size();
      Music.Notify();
      if (Player.Played.size() == before) break;  // nothing played: no more notifications
    }
    return Player.Played;
  }
};

using Tracks = std::vector<std::string>;

TEST(MusicPlayer, ListOrderWrapsAround) {
  for (int order : {1, 0, 7}) {
    TMusic music(3, order);
    EXPECT_EQ(music.Run(7), (Tracks{"T/s0", "T/s1", "T/s2", "T/s0", "T/s1", "T/s2", "T/s0"}))
        << order;
  }
}

TEST(MusicPlayer, OneSoundRepeatsInEveryOrder) {
  for (int order : {1, 2, 3}) {
    TMusic music(1, order);
    EXPECT_EQ(music.Run(3), (Tracks{"T/s0", "T/s0", "T/s0"})) << order;
  }
}

TEST(MusicPlayer, RandomOrdersDrawFromTheShowsGenerator) {
  TMusic each(4, 2);
  each.Random.SetRandSeed(99);
  Tracks played = each.Run(8);
  TRandom replay(99);
  for (const std::string& track : played)
    EXPECT_EQ(track, "T/s" + std::to_string(replay.Random(4)));

  TMusic once(4, 3);
  once.Random.SetRandSeed(7);
  played = once.Run(5);
  replay.SetRandSeed(7);
  std::string chosen = "T/s" + std::to_string(replay.Random(4));
  EXPECT_EQ(played, Tracks(5, chosen));
}

TEST(MusicPlayer, MutedOrEmptyPlaysNothing) {
  TMusic muted(3, 1);
  muted.Settings.lMute = true;
  EXPECT_TRUE(muted.Run(3).empty());
  TMusic none(0, 1);
  EXPECT_TRUE(none.Run(3).empty());
}

TEST(MusicPlayer, ATrackThatFailsEndsTheMusicQuietly) {
  TMusic music(3, 1);
  music.Player.Broken = "T/s1";
  EXPECT_EQ(music.Run(5), Tracks{"T/s0"});
}

TEST(MusicPlayer, AMissingFileNameIsAnError) {
  TMusic music(2, 1);
  music.Settings.SndFileNamesList.Items.pop_back();
  music.Music.Start();
  EXPECT_THROW(music.Music.Notify(), EListError);
}

}  // namespace
}  // namespace pixvane
