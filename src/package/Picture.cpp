#include "package/Picture.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "base/AsciiText.h"
#include "base/Errors.h"
#include "base/Stream.h"
#include "package/Persistent.h"

namespace pixvane {
namespace {

// libjpeg reports errors through a callback that must not return; we jump
// back to the caller and raise there, so no exception crosses C frames.
struct TJpegError {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
  int Code = 0;
  std::vector<std::string>* Warnings = nullptr;  // null: warnings are dropped
};

void OnJpegError(j_common_ptr info) {
  auto* error = reinterpret_cast<TJpegError*>(info->err);
  error->Code = info->err->msg_code;
  std::longjmp(error->Jump, 1);
}

// Warnings (a cut-short file, say) are not errors: the picture still shows.
// A caller that wants them gets each distinct text once.
void OnJpegMessage(j_common_ptr info, int level) {
  auto* error = reinterpret_cast<TJpegError*>(info->err);
  if (level >= 0 || !error->Warnings) return;  // levels 0 and up are trace output
  char text[JMSG_LENGTH_MAX];
  info->err->format_message(info, text);
  std::vector<std::string>& warnings = *error->Warnings;
  if (std::find(warnings.begin(), warnings.end(), text) == warnings.end())
    warnings.emplace_back(text);
}

[[noreturn]] void RaiseJpegError(int code) {
  throw EReadError("JPEG error #" + std::to_string(code));
}

// Decoding buffers are limited so a hostile header cannot ask for gigabytes.
constexpr uint64_t MaxDecodedBytes = uint64_t{1} << 30;

// Runs work on a decompressor whose header has been read from data. A
// libjpeg error jumps back here and raises "JPEG error #%d"; work must
// therefore hold no objects of its own that need destroying.
template <typename Work>
void WithHeader(const std::vector<uint8_t>& data, std::vector<std::string>* warnings, Work&& work) {
  jpeg_decompress_struct info;
  TJpegError error;
  error.Warnings = warnings;
  info.err = jpeg_std_error(&error.Manager);
  error.Manager.error_exit = OnJpegError;
  error.Manager.emit_message = OnJpegMessage;
  jpeg_create_decompress(&info);
  if (setjmp(error.Jump)) {
    jpeg_destroy_decompress(&info);
    RaiseJpegError(error.Code);
  }
  jpeg_mem_src(&info, const_cast<uint8_t*>(data.data()), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  work(info);
  jpeg_destroy_decompress(&info);
}

}  // namespace

TJPEGImage::TJPEGImage(std::vector<uint8_t> data) : FData(std::move(data)) {
  WithHeader(FData, nullptr, [this](jpeg_decompress_struct& info) {
    FWidth = static_cast<int>(info.image_width);
    FHeight = static_cast<int>(info.image_height);
    FGrayscale = info.jpeg_color_space == JCS_GRAYSCALE;
    FProgressive = info.progressive_mode;
  });
}

const TBitmap& TJPEGImage::Pixels() {
  if (!FPixels) FPixels = std::make_unique<TBitmap>(Decode(1));
  return *FPixels;
}

int TJPEGImage::ScaleToCover(int width, int height) const {
  int scale = 8;
  while (scale > 1 &&
         ((FWidth + scale - 1) / scale < width || (FHeight + scale - 1) / scale < height))
    scale /= 2;
  return scale;
}

TBitmap TJPEGImage::Decode(int scale, std::vector<std::string>* warnings) const {
  TBitmap pixels;
  bool tooLarge = false;
  WithHeader(FData, warnings, [&](jpeg_decompress_struct& info) {
    info.scale_num = 1;
    info.scale_denom = static_cast<unsigned>(scale);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_calc_output_dimensions(&info);
    // The rows go straight into the bitmap: libjpeg's BGR output has the
    // bitmap's byte order, and the stride is the bitmap's.
    uint64_t stride = (uint64_t{info.output_width} * TBitmap::BytesPerPixel + 3) & ~uint64_t{3};
    if (stride * info.output_height > MaxDecodedBytes) {
      tooLarge = true;
      return;
    }
    pixels.SetSize(static_cast<int32_t>(info.output_width),
                   static_cast<int32_t>(info.output_height));
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = pixels.ScanLine(static_cast<int32_t>(info.output_scanline));
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
  });
  if (tooLarge) throw EReadError("Out of memory");
  return pixels;
}

void TPicture::DefineProperties(TPropertyList& properties) {
  properties.Binary(
      "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); });
}

void TPicture::ReadData(TStream& stream) {
  uint8_t length = stream.ReadByte();
  std::string className(length, '\0');
  stream.ReadBuffer(className.data(), length);
  FGraphic.reset();
  if (!SameText(className, "TJPEGImage")) return;  // a graphic we cannot show: an empty picture
  uint32_t size;
  stream.ReadBuffer(&size, 4);
  if (size > static_cast<uint64_t>(stream.Remaining())) throw EReadError("Stream read error");
  std::vector<uint8_t> data(size);
  stream.ReadBuffer(data.data(), size);
  FGraphic = std::make_unique<TJPEGImage>(std::move(data));
}

void TPicture::WriteData(TStream& stream) const {
  if (!FGraphic) {
    stream.Write("", 1);  // no graphic: an empty class name
    return;
  }
  static constexpr char Name[] = "\x0ATJPEGImage";
  stream.Write(Name, 11);
  uint32_t size = static_cast<uint32_t>(FGraphic->Data().size());
  stream.Write(&size, 4);
  stream.Write(FGraphic->Data().data(), size);
}

void TImage::DefineProperties(TPropertyList& properties) {
  properties.Integer("Left", Left);
  properties.Integer("Top", Top);
  properties.Integer("Width", Width);
  properties.Integer("Height", Height);
  properties.Object("Picture", Picture);
  properties.Text("Name", Name).Stored = false;
  properties.Integer("Tag", Tag).Stored = false;
}

}  // namespace pixvane
