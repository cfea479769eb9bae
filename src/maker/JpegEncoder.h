#pragma once
#include <cstdint>
#include <vector>

#include "graphics/Bitmap.h"

namespace pixvane::maker {

// The bitmap as a baseline JPEG file at quality (1-100), for pictures a maker
// gives in a format the player cannot show. Fails with EError.
std::vector<uint8_t> EncodeJpeg(const TBitmap& bitmap, int quality);

}  // namespace pixvane::maker
