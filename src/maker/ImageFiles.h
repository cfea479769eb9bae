#pragma once
#include <cstdint>
#include <filesystem>

#include "graphics/Bitmap.h"
#include "skin/SkinBitmap.h"

namespace pixvane::maker {

// The tool's one reader and writer of PNG files, for pictures (24-bit
// bitmaps) and for skins (32-bit bitmaps with alpha). Failures raise
// EToolError naming the file.

// Reads a PNG or JPEG file (told apart by its first bytes) into a bitmap.
TBitmap ReadImage(const std::filesystem::path& path);

// Reads a PNG file into a bitmap, any transparency dropped.
TBitmap ReadPng(const std::filesystem::path& path);
// Reads a HEIC photo's primary picture into a bitmap, turned and mirrored
// as the file says so it is upright (libheif).
TBitmap ReadHeic(const std::filesystem::path& path);

// The most pixels a picture read from PNG or HEIC may have: 268 million,
// whose 24-bit rows take 800 MB. A header may claim any size; it is refused
// before anything that size is allocated.
inline constexpr int64_t MaxPicturePixels = int64_t{1} << 28;

// Reads a PNG file into a skin bitmap, alpha kept (BGRA), of a size a skin
// bitmap may have (IsSkinBitmapSize).
TSkinBitmap ReadPngWithAlpha(const std::filesystem::path& path);

// Writes the bitmap's pixels exactly, as a lossless PNG: 24-bit RGB, or RGBA
// for a skin bitmap.
void WritePng(const std::filesystem::path& path, const TBitmap& bitmap);
void WritePng(const std::filesystem::path& path, const TSkinBitmap& bitmap);

}  // namespace pixvane::maker
