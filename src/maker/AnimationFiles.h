#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "graphics/Bitmap.h"

namespace pixvane::maker {

// The encoders of WriteFrames' animations, made in memory: frames of one
// size, each shown for its own time in delaysMs; onFrame hears each index
// before that frame is encoded. path names the file in messages only.

// A GIF that loops, each frame dithered onto a 256-colour palette of its own.
std::vector<uint8_t> EncodeGif(const std::filesystem::path& path,
                               const std::vector<TBitmap>& frames, const std::vector<int>& delaysMs,
                               const std::function<void(size_t)>& onFrame);

// A lossy WebP at quality 90 that loops.
std::vector<uint8_t> EncodeWebp(const std::filesystem::path& path,
                                const std::vector<TBitmap>& frames,
                                const std::vector<int>& delaysMs,
                                const std::function<void(size_t)>& onFrame);

}  // namespace pixvane::maker
