#include "host/QuadrantJpeg.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace pixvane::test {

std::vector<uint8_t> MakeQuadrantJpeg(int width, int height) {
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
  while (info.next_scanline < info.image_height) {
    const bool bottom = info.next_scanline >= static_cast<JDIMENSION>(height / 2);
    for (int x = 0; x < width; ++x) {
      TColor color = QuadrantColors[(bottom ? 2 : 0) + (x >= width / 2 ? 1 : 0)];
      row[3 * x] = static_cast<uint8_t>(color);
      row[3 * x + 1] = static_cast<uint8_t>(color >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(color >> 16);
    }
    JSAMPROW line = row.data();
    jpeg_write_scanlines(&info, &line, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

bool NearColor(TColor a, TColor b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (difference > tolerance || difference < -tolerance) return false;
  }
  return true;
}

}  // namespace pixvane::test
