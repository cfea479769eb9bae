#include "maker/JpegEncoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "base/Errors.h"

namespace pixvane::maker {
namespace {

// libjpeg's errors must not return; jump back to EncodeJpeg, which raises.
struct TEncodeError {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
};

void OnEncodeError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<TEncodeError*>(info->err)->Jump, 1);
}

}  // namespace

std::vector<uint8_t> EncodeJpeg(const TBitmap& bitmap, int quality) {
  jpeg_compress_struct info;
  TEncodeError error;
  info.err = jpeg_std_error(&error.Manager);
  error.Manager.error_exit = OnEncodeError;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_create_compress(&info);
  if (setjmp(error.Jump)) {
    // buffer is not to be trusted after the jump; the tool ends on this error.
    jpeg_destroy_compress(&info);
    throw EError("libjpeg cannot encode the picture");
  }
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(bitmap.Width());
  info.image_height = static_cast<JDIMENSION>(bitmap.Height());
  info.input_components = TBitmap::BytesPerPixel;
  info.in_color_space = JCS_EXT_BGR;  // the bitmap's byte order
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    auto* row = const_cast<JSAMPROW>(bitmap.ScanLine(static_cast<int32_t>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

}  // namespace pixvane::maker
