#include "graphics/Bands.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace pixvane {

void ForBands(int threads, int32_t height, int32_t minRows,
              const std::function<void(int32_t top, int32_t bottom)>& work) {
  const int32_t bands = std::clamp(threads, 1, std::max(1, height / std::max(minRows, 1)));
  std::vector<std::thread> helpers;
  for (int32_t band = 1; band < bands; ++band)
    helpers.emplace_back([&, band] { work(height * band / bands, height * (band + 1) / bands); });
  work(0, height / bands);
  for (std::thread& helper : helpers) helper.join();
}

int FrameThreads() {
  return std::thread::hardware_concurrency() >= 2 ? 2 : 1;
}

}  // namespace pixvane
