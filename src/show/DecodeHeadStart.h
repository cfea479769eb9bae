#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "graphics/Bitmap.h"
#include "show/ShowPlatform.h"

namespace pixvane {

class TJPEGImage;
class TStream;

// The show's first picture, decoded while the window system starts.
//
// Before the first slide can be composed the screen's size must be known,
// and the first call that asks for it also starts the display driver: a
// fifth of a second under Wine, during which the decode (most of the work
// before the first slide) could already run. The decode needs only a scale,
// and a likely screen shares its scale with every screen up to about half
// the photo's size; so the picture is decoded for the likely screen at once,
// on a thread of its own, and the show's first slide takes the pixels when
// it asks for the same picture at the same scale. Otherwise they are
// dropped and the slide is made as always: the same pixels either way.
class TDecodeHeadStart {
 public:
  using TOpen = std::function<std::unique_ptr<TStream>()>;

  // Starts at once. Only a show in list order knows its first picture
  // before it starts; for others, and for a package that cannot be read,
  // there is nothing to lend.
  TDecodeHeadStart(TOpen open, TShowScreen likely);
  ~TDecodeHeadStart();
  TDecodeHeadStart(const TDecodeHeadStart&) = delete;
  TDecodeHeadStart& operator=(const TDecodeHeadStart&) = delete;

  // Waits for the decode and gives it to graphic if graphic is the picture
  // read at offset in the package. The pixels go to one picture at most.
  // Returns the scale they were decoded at; 0 when none were given.
  int Lend(int64_t offset, TJPEGImage& graphic);

 private:
  void Run(const TOpen& open, const TShowScreen& likely);

  int64_t FOffset = -1;  // of the picture decoded; -1 for none
  int FScale = 0;
  TBitmap FPixels;
  std::thread FWorker;
};

// The screen most machines have, for a head start that cannot ask yet.
TShowScreen LikelyScreen();

}  // namespace pixvane
