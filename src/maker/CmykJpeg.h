#pragma once
#include <cstdint>
#include <vector>

#include "graphics/Bitmap.h"

namespace pixvane::maker {

// True when the JPEG stores printing inks (CMYK, or YCCK) rather than
// screen colours: the player decodes only RGB and grey JPEGs.
bool IsCmykJpeg(const std::vector<uint8_t>& jpeg);

// The CMYK picture in screen colours. Inks written by Adobe's programs (an
// Adobe marker in the file) are stored inverted, others as they are. Fails
// with EReadError, libjpeg's message in it, on a damaged file.
TBitmap DecodeCmykJpeg(const std::vector<uint8_t>& jpeg);

}  // namespace pixvane::maker
