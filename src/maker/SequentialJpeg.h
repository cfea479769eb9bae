#pragma once
#include <cstdint>
#include <optional>
#include <vector>

namespace pixvane::maker {

// A progressive JPEG file rewritten as a sequential (baseline) one with
// Huffman tables made for it: its DCT coefficients copied as they are, so it
// decodes to exactly the same pixels, several times faster, for a few per
// cent more bytes, with a restart marker after every MCU row so the player
// can decode it in two halves at once. Every APPn and COM marker (EXIF, ICC
// profile, XMP, comments) is copied in its order. Nothing when the file is
// not progressive, or when libjpeg fails or even warns on it, or the result
// does not decode whole at the same size: the caller then keeps the file as
// it is. Never throws on a bad file.
std::optional<std::vector<uint8_t>> SequentialJpeg(const std::vector<uint8_t>& jpeg);

}  // namespace pixvane::maker
