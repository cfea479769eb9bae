#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pixvane {

// Whole zlib streams (RFC 1950), as skin data holds them.
std::vector<uint8_t> ZlibDeflate(const uint8_t* data, size_t size, int level);
// Inflates a complete stream; more than maxSize bytes out, or damaged or
// cut data, fails with "Skin data is damaged" (an EReadError) before more is
// allocated.
std::vector<uint8_t> ZlibInflate(const uint8_t* data, size_t size, size_t maxSize);

// Inflated skin data is held in memory whole; no skin needs more than this.
inline constexpr size_t MaxInflatedSkin = size_t{128} << 20;

}  // namespace pixvane
