#pragma once
#include <filesystem>

#include "graphics/Bitmap.h"

namespace pixvane::maker {

// A contact sheet of every built-in style: for styles 1 to StyleCount, one row of
// three frames (p = 25, 50, 75) from one sample picture to a contrasting
// one, each cell width x height, eight styles to a sheet row, each cell pair
// labelled with its style number in digits that grow with the cells.
TBitmap StyleSheet(int width, int height);
// Warm diagonal stripes over a gradient (warm), or a cool checker with a
// ring: two pictures no one can mistake for each other at any size.
TBitmap SamplePicture(int width, int height, bool warm);
void RunStyles(int width, int height, const std::filesystem::path& output);

}  // namespace pixvane::maker
