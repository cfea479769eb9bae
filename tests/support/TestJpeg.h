#pragma once
#include <cstdint>
#include <functional>
#include <vector>

namespace pixvane::test {

// Encodes a small JPEG file in memory: a horizontal gradient over the given
// base colour (or a flat grey when gray), so tests need no binary fixtures.
// Encodes a JPEG file in memory whose pixel (x, y) has the colour rgb(x, y)
// (red in the low byte, as a COLORREF holds it).
std::vector<uint8_t> EncodeJpeg(int width, int height,
                                const std::function<uint32_t(int x, int y)>& rgb, int quality = 95,
                                bool gray = false, bool progressive = false);

// Compresses rows of `components` bytes a pixel in libjpeg's colour space
// colorSpace (a J_COLOR_SPACE), stored in libjpeg's default space for it;
// fillRow(y, row) writes row y. Optionally with a restart marker every
// restartRows MCU rows, and colour without chroma subsampling.
std::vector<uint8_t> CompressJpeg(int width, int height, int components, int colorSpace,
                                  int quality, bool progressive,
                                  const std::function<void(int y, uint8_t* row)>& fillRow,
                                  int restartRows = 0, bool fullChroma = false);

std::vector<uint8_t> MakeJpeg(int width, int height, bool gray = false, bool progressive = false,
                              uint8_t red = 200, uint8_t green = 40, uint8_t blue = 40);

}  // namespace pixvane::test
