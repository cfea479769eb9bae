#include "support/TestJpeg.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace pixvane::test {

std::vector<uint8_t> CompressJpeg(int width, int height, int components, int colorSpace,
                                  int quality, bool progressive,
                                  const std::function<void(int y, uint8_t* row)>& fillRow,
                                  int restartRows, bool fullChroma) {
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = components;
  info.in_color_space = static_cast<J_COLOR_SPACE>(colorSpace);
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  info.restart_in_rows = restartRows;
  if (fullChroma) info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 1;
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(width) * components);
  while (info.next_scanline < info.image_height) {
    fillRow(static_cast<int>(info.next_scanline), row.data());
    JSAMPROW line = row.data();
    jpeg_write_scanlines(&info, &line, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

std::vector<uint8_t> EncodeJpeg(int width, int height, const std::function<uint32_t(int, int)>& rgb,
                                int quality, bool gray, bool progressive) {
  return CompressJpeg(width, height, gray ? 1 : 3, gray ? JCS_GRAYSCALE : JCS_RGB, quality,
                      progressive, [&](int y, uint8_t* row) {
                        for (int x = 0; x < width; ++x) {
                          uint32_t color = rgb(x, y);
                          if (gray) {
                            row[x] = static_cast<uint8_t>(color);
                          } else {
                            row[3 * x] = static_cast<uint8_t>(color);
                            row[3 * x + 1] = static_cast<uint8_t>(color >> 8);
                            row[3 * x + 2] = static_cast<uint8_t>(color >> 16);
                          }
                        }
                      });
}

std::vector<uint8_t> MakeJpeg(int width, int height, bool gray, bool progressive, uint8_t red,
                              uint8_t green, uint8_t blue) {
  // A horizontal gradient over the base colour, or flat grey.
  return EncodeJpeg(
      width, height,
      [&](int x, int) -> uint32_t {
        if (gray) return 128;
        uint8_t b = static_cast<uint8_t>(blue + (x * 40) / (width > 1 ? width : 1));
        return red | (green << 8) | (uint32_t{b} << 16);
      },
      95, gray, progressive);
}

}  // namespace pixvane::test
