// Writes a photo stretched to a screen size both ways, as binary PPM files,
// for bench/photo_quality.py to hold against a reference resize:
//   pixvane_scale_sample PHOTO.jpg WIDTH HEIGHT NEAREST.ppm SMOOTH.ppm
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "graphics/Copy.h"
#include "show/SlideComposer.h"

namespace {

using namespace pixvane;

void WritePpm(const char* path, const TBitmap& bitmap) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << bitmap.Width() << " " << bitmap.Height() << "\n255\n";
  std::vector<char> row(static_cast<size_t>(bitmap.Width()) * 3);
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* in = bitmap.ScanLine(y);
    for (int32_t x = 0; x < bitmap.Width(); ++x)
      for (int k = 0; k < 3; ++k) row[x * 3 + k] = static_cast<char>(in[x * 3 + 2 - k]);
    out.write(row.data(), static_cast<std::streamsize>(row.size()));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: %s PHOTO.jpg WIDTH HEIGHT NEAREST.ppm SMOOTH.ppm\n", argv[0]);
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  TJPEGImage photo(std::vector<uint8_t>{std::istreambuf_iterator<char>(file), {}});
  const int32_t width = std::atoi(argv[2]), height = std::atoi(argv[3]);
  TBitmap nearest(width, height), smooth(width, height);
  TBitmap picture = photo.Decode(photo.ScaleToCover(width, height));
  StretchCopy(nearest, nearest.Bounds(), picture, picture.Bounds());
  DrawScaledPicture(smooth, photo, {smooth.Bounds()}, {smooth.Bounds()});
  WritePpm(argv[4], nearest);
  WritePpm(argv[5], smooth);
  return 0;
}
