#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "maker/Manifest.h"

namespace pixvane::studio {

// The studio's live preview: the show of the manifest the page holds, built
// into a saver of its own and played by the player's show session offscreen
// (as `pixvane render` plays it, with fewer frames of a moving picture),
// its images kept as JPEG files in memory for the page to fetch while the
// rest still plays. Each change starts a new run, which stops the one
// before.
//
// Threads: Start, Wait and Stop come from any thread, at once (the server's
// requests); each run plays on a thread of its own with a show of its own.
// Starts and stops take their turns; the runs' frames and the copies of
// pictures are shared under a lock.
class TShowPreview {
 public:
  struct TFrame {
    std::string Jpeg;
    uint32_t AtMs = 0;  // when the show put it on screen
  };
  enum class TWait { Frame, Pending, Ended, Replaced, Failed };

  TShowPreview(std::filesystem::path player, std::filesystem::path scratch);
  ~TShowPreview();

  // Starts playing manifest on a screen of width x height; returns the
  // run's number. Fails with EToolError when the screen size is not one
  // the player takes.
  int Start(const maker::TManifest& manifest, int width, int height);
  // Waits (up to timeoutMs) for image index of run, copying it to frame.
  TWait Wait(int run, size_t index, TFrame& frame, int timeoutMs, std::string& problem);
  // Stops the run playing, removing its saver.
  void Stop();

 private:
  struct TRun;
  void StopRun();  // with FStartLock held
  void Play(std::shared_ptr<TRun> run, maker::TManifest manifest, int width, int height);
  // Replaces each JPEG picture larger than the screen by a copy turned
  // upright and reduced to it, made once per picture and screen size and
  // kept in the scratch folder, so a change restarts the preview without
  // reducing a camera's pictures again.
  void UseScreenSizedCopies(maker::TManifest& manifest, int width, int height, const TRun& run);

  std::filesystem::path FPlayer, FScratch;
  std::mutex FStartLock;  // one start or stop at a time
  std::mutex FLock;       // the runs' frames
  std::condition_variable FChanged;
  std::shared_ptr<TRun> FRun;
  std::thread FThread;
  int FRuns = 0;
  std::map<std::string, std::filesystem::path> FCopies;  // by file, its state and screen
};

}  // namespace pixvane::studio
