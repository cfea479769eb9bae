#pragma once
#include <cstdint>
#include <optional>
#include <vector>

namespace pixvane {

// A sequential JPEG file with restart markers, cut so its lower part can be
// decoded on another core at the same time as the upper part: a restart
// marker resets the decoder's state, so the lower part is a file of its own
// (the same header, a smaller height) from a marker on. The lower file
// starts one MCU row above the rows it is used for, so the rows kept from it
// were decoded with the same neighbouring rows as in the whole file.
struct TJpegSplit {
  std::vector<uint8_t> Lower;
  int32_t LowerFromMcuRow = 0;  // the whole file's MCU row the lower file starts at
  int32_t McuHeight = 0;        // in pixels of the full-size picture
};

// Nothing for a file with no usable restart marker near its middle, one in
// several scans or progressive, or one whose markers this reader does not
// follow: it is then decoded whole.
std::optional<TJpegSplit> SplitAtRestart(const std::vector<uint8_t>& jpeg);

}  // namespace pixvane
