#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "base/Random.h"
#include "package/SSFileLocations.h"

namespace pixvane {

// The media player the music goes through (MCI on Windows): one device at a
// time, opened on one file, with one notification when a play ends.
class TMediaPlayer {
 public:
  virtual ~TMediaPlayer() = default;
  virtual void SetFileName(const std::string& path) = 0;
  // Closes any open device and opens the file; raises on failure.
  virtual void Open() = 0;
  // Plays with an end notification; raises on failure.
  virtual void Play() = 0;
  virtual void Stop() = 0;
  // Whether the next command asks for a notification.
  virtual void SetNotify(bool notify) = 0;
};

// The music behind the slides: list order, a random track each time, or one
// random track repeated, as the record's sound order says, drawn from the
// show's generator.
class TMusicPlayer {
 public:
  // pathOf gives the file a stored sound name was extracted to. The
  // settings, player and generator outlive the music.
  TMusicPlayer(const TSSFileLocations& settings, TMediaPlayer& player, TRandom& random,
               std::function<std::string(const std::string& name)> pathOf)
      : FSettings(settings), FPlayer(player), FRandom(random), FPathOf(std::move(pathOf)) {}

  // At activation: picks the repeated track of RepeatOne, then plays.
  void Start();
  void PlayNextSound();
  // The player's end-of-play notification: on to the next track.
  void Notify();

  int32_t FSndIndex = 0;

 private:
  const TSSFileLocations& FSettings;
  TMediaPlayer& FPlayer;
  TRandom& FRandom;
  std::function<std::string(const std::string&)> FPathOf;
};

}  // namespace pixvane
