#pragma once
#include <cstdint>
#include <filesystem>

namespace pixvane {

// Where the native player shows a saver.
enum class TPlayTarget {
  Screen,    // every monitor, in a window of its own over them all
  Window,    // a normal window, to watch a show while making it
  Root,      // the root window of the X display
  WindowId,  // a window another program made (XScreenSaver's)
};

struct TPlayOptions {
  std::filesystem::path Saver;
  TPlayTarget Target = TPlayTarget::Screen;
  uint64_t WindowId = 0;
  // The show's size in pixels, for Screen and Window; 0: the screen's, or
  // 800 x 600 for a window.
  int32_t Width = 0, Height = 0;
  bool Mute = false;
};

// Plays the saver's show natively until the user ends it by the package's
// exit rules (on the screen), closes its window, or a signal ends it (in
// another program's window, where input is that program's business). A
// saver that cannot be played (no package, a damaged one, a Flash saver, no
// display) raises EError with one line saying why.
void PlaySaver(const TPlayOptions& options);

}  // namespace pixvane
