#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "graphics/Bitmap.h"

namespace pixvane::maker {

struct TPictureSize {
  int Width = 0, Height = 0;
  bool operator==(const TPictureSize&) const = default;
};

// The size a picture of width x height is reduced to so it fits inside
// maxWidth x maxHeight with its proportions kept (each side rounded, at
// least 1); its own size when it fits already, as pictures are never
// enlarged.
TPictureSize FitInside(int width, int height, int maxWidth, int maxHeight);

// The bitmap reduced to width x height (each at most the bitmap's own) by
// area averaging: every new pixel is the mean of the source area it covers,
// partly covered source pixels counting by the part they cover.
TBitmap AreaAverage(const TBitmap& source, int width, int height);

// The quality reduced pictures are stored at: no visible artefacts on
// photos, a fraction of a camera's file size.
constexpr int ReducedQuality = 92;

// The JPEG file re-encoded at ReducedQuality, reduced to fit inside
// maxWidth x maxHeight; nothing when it fits already. libjpeg's scaled
// decode does the coarse part of the reduction, area averaging the rest.
// Fails with EError on a damaged file.
std::optional<std::vector<uint8_t>> ReduceJpeg(const std::vector<uint8_t>& jpeg, int maxWidth,
                                               int maxHeight);

}  // namespace pixvane::maker
