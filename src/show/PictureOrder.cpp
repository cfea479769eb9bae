#include "show/PictureOrder.h"

#include <numeric>
#include <utility>

namespace pixvane {

std::optional<int32_t> TPictureOrder::Next() {
  int32_t count = FSettings.PicCount();
  if (FSettings.lShufflePic) return NextShuffled(count);
  if (FSettings.lRandomPic) return FRandom.Random(count);
  return NextInList(count);
}

std::optional<int32_t> TPictureOrder::NextInList(int32_t count) {
  if (FIndex > count - 1) {
    if (FSettings.Kind() == TSaverKind::Flash) return std::nullopt;
    FIndex = 0;
  }
  return FIndex++;
}

std::optional<int32_t> TPictureOrder::NextShuffled(int32_t count) {
  if (FPosition >= FRound.size() || FRound.size() != static_cast<size_t>(count)) {
    if (!FRound.empty() && FSettings.Kind() == TSaverKind::Flash) return std::nullopt;
    Deal(count);
  }
  return FRound[FPosition++];
}

void TPictureOrder::Deal(int32_t count) {
  std::optional<int32_t> last;
  if (FPosition > 0) last = FRound[FPosition - 1];
  FRound.resize(static_cast<size_t>(count));
  std::iota(FRound.begin(), FRound.end(), 0);
  // Fisher-Yates: every order equally likely.
  for (int32_t i = count - 1; i > 0; --i) std::swap(FRound[i], FRound[FRandom.Random(i + 1)]);
  // The round that follows must not open with the picture just shown; moving
  // it to a random later place keeps the rest of the order as dealt.
  if (count > 1 && FRound.front() == last)
    std::swap(FRound[0], FRound[1 + FRandom.Random(count - 1)]);
  FPosition = 0;
}

std::vector<int> MatchOrientations(const std::vector<bool>& portraitPictures,
                                   const std::vector<bool>& portraitMonitors) {
  std::vector<bool> taken(portraitPictures.size(), false);
  auto take = [&](auto fits) {
    for (size_t i = 0; i < portraitPictures.size(); ++i)
      if (!taken[i] && fits(portraitPictures[i])) {
        taken[i] = true;
        return static_cast<int>(i);
      }
    return -1;
  };
  std::vector<int> chosen;
  for (bool portrait : portraitMonitors)
    chosen.push_back(take([=](bool p) { return p == portrait; }));
  for (int& picture : chosen)
    if (picture < 0) picture = take([](bool) { return true; });
  return chosen;
}

}  // namespace pixvane
