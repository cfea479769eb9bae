#pragma once
#include <cstdint>
#include <vector>

#include "graphics/Bitmap.h"
#include "maker/PackageFile.h"

namespace pixvane::maker {

// The size of the picture at the side of the setup program's welcome page.
inline constexpr int WelcomeWidth = 164, WelcomeHeight = 314;

// The saver's first picture filling the welcome page's picture, cropped
// evenly as the player's "fill" crops it; a saver without pictures (a
// Flash saver) gets a plain dark one.
TBitmap WelcomePicture(TPackageFile& package);

// bitmap as a Windows BMP file: 24 bits, rows bottom-up, as every reader
// of the format takes it.
std::vector<uint8_t> BmpFile(const TBitmap& bitmap);

}  // namespace pixvane::maker
