#pragma once
#include <filesystem>
#include <functional>
#include <vector>

#include "graphics/Bitmap.h"

namespace pixvane::maker {

// The tool's one writer of rendered frames (`render` of a transition or of a
// show). output names a folder, which gets the frames as numbered PNG files
// (frame-000.png, ...), or, ending in ".gif" or ".webp", one animation that
// loops (in the native tool; the Windows tool refuses these names): a GIF with each frame dithered
// onto a 256-colour palette of its own, or a lossy WebP at quality 90. The frames are of one size,
// each shown for its own time in delaysMs (a GIF counts in hundredths of a second; PNG files have
// no time). onFrame hears the index of each frame before it is encoded. Returns the number of
// frames.
int WriteFrames(const std::filesystem::path& output, const std::vector<TBitmap>& frames,
                const std::vector<int>& delaysMs, const std::function<void(size_t)>& onFrame = {});

// True for the names WriteFrames writes as one animation.
bool IsAnimationFile(const std::filesystem::path& path);

}  // namespace pixvane::maker
