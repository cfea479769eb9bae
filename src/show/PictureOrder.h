#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "base/Random.h"
#include "package/SSFileLocations.h"

namespace pixvane {

// Which picture the show takes next, as the settings ask:
// - list order: 0, 1, 2, ... and over again, or, for a Flash saver, no
//   more pictures once the list is through (its movies take over);
// - random (lRandomPic): any picture each time, repeats possible, drawn
//   from the show's generator;
// - shuffle (lShufflePic, before lRandomPic): rounds in which every picture
//   comes once in a random order; a new round never starts with the
//   picture the last one ended on, so no picture shows twice in a row. A
//   Flash saver hands over after its first round, as after the list.
// The settings are read on every call: a show session reads its record
// after it has made its order.
class TPictureOrder {
 public:
  // Both outlive the order.
  TPictureOrder(const TSSFileLocations& settings, TRandom& random)
      : FSettings(settings), FRandom(random) {}

  // Whether the order is a random one, whose pictures may go to any monitor.
  bool IsRandom() const { return FSettings.lShufflePic || FSettings.lRandomPic; }
  // The index of the next picture (PicCount must be above 0), or nothing
  // when a Flash saver's pictures are through. The picture counts as taken
  // whether or not it reaches the screen.
  std::optional<int32_t> Next();

 private:
  std::optional<int32_t> NextInList(int32_t count);
  std::optional<int32_t> NextShuffled(int32_t count);
  void Deal(int32_t count);

  const TSSFileLocations& FSettings;
  TRandom& FRandom;
  int32_t FIndex = 0;           // list order: the next index, past the end after a round
  std::vector<int32_t> FRound;  // shuffle: this round's order
  size_t FPosition = 0;         // shuffle: how much of it has been taken
};

// Which of the pictures taken for the monitors goes to which: for each
// monitor in turn the first picture left of its orientation (portrait or
// not); then the monitors still without one take what is left, in order.
// Returns a picture index per monitor;
// monitors beyond the pictures get none (-1).
std::vector<int> MatchOrientations(const std::vector<bool>& portraitPictures,
                                   const std::vector<bool>& portraitMonitors);

}  // namespace pixvane
