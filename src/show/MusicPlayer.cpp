#include "show/MusicPlayer.h"

#include "base/Errors.h"

namespace pixvane {

void TMusicPlayer::Start() {
  if (FSettings.SoundOrder() == TSoundOrder::RepeatOne)
    FSndIndex = FRandom.Random(FSettings.Sounds().Count());
  PlayNextSound();
}

void TMusicPlayer::PlayNextSound() {
  const TMediaRun sounds = FSettings.Sounds();
  const int count = sounds.Count();
  if (count == 0 || FSettings.lMute) return;
  if (FSndIndex > count - 1) FSndIndex = 0;
  if (FSettings.SoundOrder() == TSoundOrder::Random) FSndIndex = FRandom.Random(count);
  FPlayer.SetFileName(FPathOf(sounds.FileNameAt(FSndIndex)));
  try {
    FPlayer.Open();
    FPlayer.Play();
  } catch (const EError&) {
    // A track that cannot be opened or played ends the music quietly: no
    // notification will come for it.
  }
  FPlayer.SetNotify(true);
  if (FSettings.SoundOrder() != TSoundOrder::RepeatOne) ++FSndIndex;
}

void TMusicPlayer::Notify() {
  FPlayer.SetNotify(false);
  FPlayer.Stop();
  PlayNextSound();
  FPlayer.SetNotify(true);
}

}  // namespace pixvane
