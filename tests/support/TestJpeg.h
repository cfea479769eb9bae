#pragma once
#include <cstdint>
#include <vector>

namespace pixvane::test {

// Encodes a small JPEG file in memory: a horizontal gradient over the given
// base colour (or a flat grey when gray), so tests need no binary fixtures.
std::vector<uint8_t> MakeJpeg(int width, int height, bool gray = false, bool progressive = false,
                              uint8_t red = 200, uint8_t green = 40, uint8_t blue = 40);

}  // namespace pixvane::test
