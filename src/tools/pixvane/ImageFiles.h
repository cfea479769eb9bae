#pragma once
#include <filesystem>
#include <functional>
#include <vector>

#include "graphics/Bitmap.h"

namespace pixvane::tool {

// Reads a PNG or JPEG file (told apart by its first bytes) into a bitmap.
TBitmap ReadImage(const std::filesystem::path& path);

// Writes the bitmap's 24-bit pixels exactly, as a lossless PNG.
void WritePng(const std::filesystem::path& path, const TBitmap& bitmap);

// Writes frames of one size as an animated GIF that loops, each frame shown
// for its own time in delaysMs (GIF counts in hundredths of a second) and
// dithered onto a 256-colour palette of its own; onFrame hears the index of
// each frame before it is encoded.
void WriteAnimatedGif(const std::filesystem::path& path, const std::vector<TBitmap>& frames,
                      const std::vector<int>& delaysMs,
                      const std::function<void(size_t)>& onFrame = {});

// True for the names WriteAnimation writes: ending in ".gif" or ".webp".
bool IsAnimationFile(const std::filesystem::path& path);
// Writes the frames as an animated GIF or WebP, by path's ending.
void WriteAnimation(const std::filesystem::path& path, const std::vector<TBitmap>& frames,
                    const std::vector<int>& delaysMs,
                    const std::function<void(size_t)>& onFrame = {});

}  // namespace pixvane::tool
