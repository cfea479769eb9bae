#pragma once
#include <map>
#include <mutex>
#include <string>

namespace pixvane::studio {

// The transitions gallery's animations: for each style, its frames from one
// sample picture to another side by side in one JPEG strip, rendered by the
// transition engine on first request and kept for the rest of the run.
// Strip takes calls from any thread, at once: the gallery asks for every
// strip together. Every frame draws from a generator of its own, so a strip
// is the same bytes whatever else renders beside it.
class TStyleStrips {
 public:
  static constexpr int Width = 120, Height = 75, Frames = 26;
  // The strip of style (1 to StyleCount); empty for any other number.
  std::string Strip(int style);

 private:
  std::mutex FLock;
  std::map<int, std::string> FStrips;
};

}  // namespace pixvane::studio
