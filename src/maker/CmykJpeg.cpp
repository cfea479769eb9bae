#include "maker/CmykJpeg.h"

#include <csetjmp>
#include <cstdio>
#include <string>

#include <jpeglib.h>

#include "base/Errors.h"

namespace pixvane::maker {
namespace {

// libjpeg's errors must not return; jump back to the caller, which raises
// with libjpeg's own text.
struct TDecodeError {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX] = {};
};

// As many pixels as the tool takes from any picture: 24-bit rows of 800 MB.
constexpr uint64_t MaxPixels = uint64_t{1} << 28;

void OnDecodeError(j_common_ptr info) {
  auto* error = reinterpret_cast<TDecodeError*>(info->err);
  info->err->format_message(info, error->Message);
  std::longjmp(error->Jump, 1);
}

// A decompressor over bytes, destroyed with the object.
class TCmykReader {
 public:
  explicit TCmykReader(const std::vector<uint8_t>& jpeg) {
    FInfo.err = jpeg_std_error(&FError.Manager);
    FError.Manager.error_exit = OnDecodeError;
    jpeg_create_decompress(&FInfo);
    FBytes = &jpeg;
  }
  ~TCmykReader() { jpeg_destroy_decompress(&FInfo); }
  TCmykReader(const TCmykReader&) = delete;
  TCmykReader& operator=(const TCmykReader&) = delete;

  // True when the header says CMYK or YCCK; false for any other picture and
  // for one whose header libjpeg cannot read.
  bool IsCmyk() {
    if (setjmp(FError.Jump)) return false;
    ReadHeader();
    return FInfo.jpeg_color_space == JCS_CMYK || FInfo.jpeg_color_space == JCS_YCCK;
  }

  // The bitmap and the row are members: a jump out of libjpeg must not pass
  // over anything that has a destructor to run.
  TBitmap Decode() {
    if (setjmp(FError.Jump)) throw EReadError(FError.Message);
    ReadHeader();
    if (uint64_t{FInfo.image_width} * FInfo.image_height > MaxPixels)
      throw EReadError("the picture is too large (more than 268 million pixels)");
    FInfo.out_color_space = JCS_CMYK;  // libjpeg turns YCCK into CMYK
    jpeg_start_decompress(&FInfo);
    FBitmap = TBitmap(static_cast<int32_t>(FInfo.output_width),
                      static_cast<int32_t>(FInfo.output_height));
    FRow.resize(size_t{FInfo.output_width} * 4);
    while (FInfo.output_scanline < FInfo.output_height) {
      uint8_t* out = FBitmap.ScanLine(static_cast<int32_t>(FInfo.output_scanline));
      JSAMPROW line = FRow.data();
      jpeg_read_scanlines(&FInfo, &line, 1);
      for (size_t x = 0; x < FInfo.output_width; ++x) ToScreen(&FRow[4 * x], &out[3 * x]);
    }
    jpeg_finish_decompress(&FInfo);
    return std::move(FBitmap);
  }

 private:
  // One pixel's inks as the light they leave: each of cyan, magenta and
  // yellow takes away its colour, black takes away from all three.
  void ToScreen(const uint8_t* ink, uint8_t* bgr) const {
    const bool inverted = FInfo.saw_Adobe_marker;
    int k = inverted ? ink[3] : 255 - ink[3];
    for (int i = 0; i < 3; ++i) {
      int c = inverted ? ink[i] : 255 - ink[i];
      bgr[2 - i] = static_cast<uint8_t>((c * k + 127) / 255);
    }
  }

  void ReadHeader() {
    jpeg_mem_src(&FInfo, FBytes->data(), static_cast<unsigned long>(FBytes->size()));
    jpeg_read_header(&FInfo, TRUE);
  }

  jpeg_decompress_struct FInfo{};
  TDecodeError FError;
  const std::vector<uint8_t>* FBytes;
  TBitmap FBitmap;
  std::vector<uint8_t> FRow;
};

}  // namespace

bool IsCmykJpeg(const std::vector<uint8_t>& jpeg) {
  return TCmykReader(jpeg).IsCmyk();
}

TBitmap DecodeCmykJpeg(const std::vector<uint8_t>& jpeg) {
  return TCmykReader(jpeg).Decode();
}

}  // namespace pixvane::maker
