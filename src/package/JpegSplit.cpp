#include "package/JpegSplit.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace pixvane {
namespace {

// What the header tells about the one scan: where it and the height are.
struct THeader {
  size_t HeightAt = 0, EntropyAt = 0;
  int32_t Width = 0, Height = 0;
  int32_t McuWidth = 8, McuHeight = 8;
  uint32_t RestartInterval = 0;
};

uint32_t Big16(const uint8_t* at) {
  return uint32_t{at[0]} << 8 | at[1];
}

// Reads the markers up to the first scan's data. Only a sequential Huffman
// file (SOF0 or SOF1) whose first scan holds every component qualifies:
// then that scan is the file's only one.
std::optional<THeader> ReadHeader(const std::vector<uint8_t>& jpeg) {
  THeader header;
  int components = 0;
  size_t at = 2;
  if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return std::nullopt;
  while (at + 4 <= jpeg.size()) {
    if (jpeg[at] != 0xFF) return std::nullopt;
    const uint8_t marker = jpeg[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    const size_t length = Big16(&jpeg[at + 2]);
    if (length < 2 || at + 2 + length > jpeg.size()) return std::nullopt;
    const uint8_t* segment = &jpeg[at + 4];
    if (marker == 0xC0 || marker == 0xC1) {
      if (length < 8) return std::nullopt;
      header.HeightAt = at + 5;
      header.Height = static_cast<int32_t>(Big16(segment + 1));
      header.Width = static_cast<int32_t>(Big16(segment + 3));
      components = segment[5];
      if (components < 1 || length < 8 + 3u * components) return std::nullopt;
      int maxH = 1, maxV = 1;
      for (int c = 0; c < components; ++c) {
        maxH = std::max(maxH, segment[6 + 3 * c + 1] >> 4);
        maxV = std::max(maxV, segment[6 + 3 * c + 1] & 15);
      }
      // A scan of one component has one block as its unit, whatever its sampling.
      if (components > 1) {
        header.McuWidth = 8 * maxH;
        header.McuHeight = 8 * maxV;
      }
    } else if (marker >= 0xC2 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
               marker != 0xCC) {
      return std::nullopt;  // progressive, lossless or arithmetic
    } else if (marker == 0xDD && length >= 4) {
      header.RestartInterval = Big16(segment);
    } else if (marker == 0xDA) {
      if (components == 0 || length < 3 || segment[0] != components) return std::nullopt;
      header.EntropyAt = at + 2 + length;
      if (header.Width <= 0 || header.Height <= 0 || header.RestartInterval == 0)
        return std::nullopt;
      return header;
    }
    at += 2 + length;
  }
  return std::nullopt;
}

// The byte after the count-th restart marker of the scan, which must be
// RSTn with n = (count - 1) mod 8; nothing when the scan has fewer.
std::optional<size_t> AfterRestart(const std::vector<uint8_t>& jpeg, size_t from, uint64_t count) {
  const uint8_t* data = jpeg.data();
  size_t at = from;
  uint64_t seen = 0;
  while (at + 1 < jpeg.size()) {
    const void* mark = std::memchr(data + at, 0xFF, jpeg.size() - 1 - at);
    if (!mark) return std::nullopt;
    at = static_cast<size_t>(static_cast<const uint8_t*>(mark) - data);
    const uint8_t next = data[at + 1];
    if (next >= 0xD0 && next <= 0xD7) {
      if (next != 0xD0 + seen % 8) return std::nullopt;
      if (++seen == count) return at + 2;
    } else if (next != 0x00 && next != 0xFF) {
      return std::nullopt;  // the scan ended first
    }
    at += next == 0xFF ? 1 : 2;
  }
  return std::nullopt;
}

}  // namespace

std::optional<TJpegSplit> SplitAtRestart(const std::vector<uint8_t>& jpeg) {
  const std::optional<THeader> header = ReadHeader(jpeg);
  if (!header) return std::nullopt;
  const uint64_t perRow = (header->Width + header->McuWidth - 1) / header->McuWidth;
  const int64_t rows = (header->Height + header->McuHeight - 1) / header->McuHeight;
  // The lower file must start at a marker that begins an MCU row and follows
  // a whole round of RST0 to RST7, as a decoder expects RST0 first; the
  // rows kept from it start one MCU row further down, as near the middle as
  // that allows.
  uint64_t bestCount = 0;
  int64_t bestRow = 0;
  for (uint64_t count = 8;; count += 8) {
    const uint64_t mcu = count * header->RestartInterval;
    const int64_t row = static_cast<int64_t>(mcu / perRow);
    if (row + 2 > rows) break;
    if (mcu % perRow != 0) continue;
    if (!bestCount || std::llabs(2 * (row + 1) - rows) < std::llabs(2 * (bestRow + 1) - rows)) {
      bestCount = count;
      bestRow = row;
    }
  }
  if (!bestCount) return std::nullopt;
  const std::optional<size_t> from = AfterRestart(jpeg, header->EntropyAt, bestCount);
  if (!from) return std::nullopt;
  TJpegSplit split;
  split.LowerFromMcuRow = static_cast<int32_t>(bestRow);
  split.McuHeight = header->McuHeight;
  split.Lower.assign(jpeg.begin(), jpeg.begin() + static_cast<ptrdiff_t>(header->EntropyAt));
  split.Lower.insert(split.Lower.end(), jpeg.begin() + static_cast<ptrdiff_t>(*from), jpeg.end());
  const int32_t height = header->Height - static_cast<int32_t>(bestRow) * header->McuHeight;
  split.Lower[header->HeightAt] = static_cast<uint8_t>(height >> 8);
  split.Lower[header->HeightAt + 1] = static_cast<uint8_t>(height);
  return split;
}

}  // namespace pixvane
