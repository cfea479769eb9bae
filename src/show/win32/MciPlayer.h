#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "show/MusicPlayer.h"

namespace pixvane {

// The music's media player on the platform's media control interface. The
// end-of-play notification (MM_MCINOTIFY) goes to the window given; its
// owner hands it to the music player.
class TMciPlayer : public TMediaPlayer {
 public:
  explicit TMciPlayer(HWND notifyWindow) : FWindow(notifyWindow) {}
  ~TMciPlayer() override;
  TMciPlayer(const TMciPlayer&) = delete;
  TMciPlayer& operator=(const TMciPlayer&) = delete;

  void SetFileName(const std::string& path) override { FFileName = path; }
  void Open() override;
  void Play() override;
  void Stop() override;
  void SetNotify(bool notify) override { FNotify = notify; }
  // Lets go of the file it plays; the next Open opens a device again.
  void Close();

 private:
  // The flags of the next command: the pending notify switch if one was set
  // (and then it is used up), else a notification for a play and waiting
  // for completion otherwise.
  DWORD TakeFlags(bool isPlay);

  HWND FWindow;
  std::string FFileName;
  MCIDEVICEID FDevice = 0;
  std::optional<bool> FNotify;
};

}  // namespace pixvane
