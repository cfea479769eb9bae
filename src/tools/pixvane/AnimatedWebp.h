#pragma once
#include <filesystem>
#include <functional>
#include <vector>

#include "graphics/Bitmap.h"

namespace pixvane::tool {

// Writes frames of one size as an animated WebP that loops, each frame shown
// for its own time in delaysMs. Lossy at a high quality: full colour without
// a GIF's palette, at a size a maker can mail. onFrame hears the index of
// each frame before it is encoded.
void WriteAnimatedWebp(const std::filesystem::path& path, const std::vector<TBitmap>& frames,
                       const std::vector<int>& delaysMs,
                       const std::function<void(size_t)>& onFrame = {});

}  // namespace pixvane::tool
