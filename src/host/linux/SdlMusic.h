#pragma once
#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "show/MusicPlayer.h"

namespace pixvane {

// The music device of the native player: SDL_mixer plays one track at a
// time (WAV, MP3 and MIDI, as MCI does on Windows). The end of a track
// comes on the audio thread; it is handed to the event loop as an event of
// type EndEvent() whose code is the play it ends, so a track stopped or
// replaced meanwhile is not taken for the one that ended.
class TSdlMusic : public TMediaPlayer {
 public:
  // Opens the sound device; nullptr, with the reason in error, when there is
  // none (the show is then silent).
  static std::unique_ptr<TSdlMusic> Open(std::string& error);
  ~TSdlMusic() override;
  TSdlMusic(const TSdlMusic&) = delete;
  TSdlMusic& operator=(const TSdlMusic&) = delete;

  void SetFileName(const std::string& path) override { FFileName = path; }
  void Open() override;
  void Play() override;
  void Stop() override;
  void SetNotify(bool notify) override { FNotify = notify; }

  uint32_t EndEvent() const { return FEndEvent; }
  // Whether an end event belongs to the play that runs now and asks for the
  // next track.
  bool IsCurrentEnd(const SDL_Event& event) const;

 private:
  TSdlMusic() = default;
  static void MusicFinished();
  void Close();

  std::string FFileName;
  Mix_Music* FMusic = nullptr;
  bool FNotify = false;
  uint32_t FEndEvent = 0;
  int32_t FPlay = 0;                 // counts the plays
  std::atomic<int32_t> FPlaying{0};  // the play that sounds now; 0: none
};

}  // namespace pixvane
