#include "package/Picture.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <optional>
#include <thread>

#include <jpeglib.h>

#include "base/AsciiText.h"
#include "base/Errors.h"
#include "base/Stream.h"
#include "package/JpegSplit.h"
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

namespace {

// Sets the scale and the output, and checks the size before any pixel is
// decoded; false for a picture too large to decode.
bool StartScaled(jpeg_decompress_struct& info, int scale) {
  info.scale_num = 1;
  info.scale_denom = static_cast<unsigned>(scale);
  // libjpeg's BGR output has the bitmap's byte order.
  info.out_color_space = JCS_EXT_BGR;
  jpeg_calc_output_dimensions(&info);
  const uint64_t stride = (uint64_t{info.output_width} * TBitmap::BytesPerPixel + 3) & ~uint64_t{3};
  return stride * info.output_height <= MaxDecodedBytes;
}

// The rows from the decoder's next one up to end (exclusive), each into
// rowFor(its number); the rest of the file is left unread.
template <typename RowFor>
void ReadRows(jpeg_decompress_struct& info, JDIMENSION end, RowFor&& rowFor) {
  while (info.output_scanline < std::min(end, info.output_height)) {
    JSAMPROW row = rowFor(info.output_scanline);
    jpeg_read_scanlines(&info, &row, 1);
  }
}

}  // namespace

TBitmap TJPEGImage::Decode(int scale, std::vector<std::string>* warnings, int threads) const {
  if (threads > 1 && !FProgressive)
    if (std::optional<TBitmap> pixels = DecodeInTwo(scale)) return std::move(*pixels);
  TBitmap pixels;
  bool tooLarge = false;
  WithHeader(FData, warnings, [&](jpeg_decompress_struct& info) {
    if (!StartScaled(info, scale)) {
      tooLarge = true;
      return;
    }
    // The rows go straight into the bitmap, whose stride libjpeg takes.
    pixels.SetSize(static_cast<int32_t>(info.output_width),
                   static_cast<int32_t>(info.output_height));
    jpeg_start_decompress(&info);
    ReadRows(info, info.output_height,
             [&](JDIMENSION y) { return pixels.ScanLine(static_cast<int32_t>(y)); });
    jpeg_finish_decompress(&info);
  });
  if (tooLarge) throw EReadError("Out of memory");
  return pixels;
}

// The upper part on this thread, the lower on another, both into the one
// bitmap. Anything out of the ordinary (an error, a warning, a size that does
// not add up) gives up, and the caller decodes the file whole as it always
// did, so a damaged file shows and reports exactly what it would.
std::optional<TBitmap> TJPEGImage::DecodeInTwo(int scale) const {
  const std::optional<TJpegSplit> split = SplitAtRestart(FData);
  if (!split) return std::nullopt;
  TBitmap pixels;
  JDIMENSION rowsPerMcuRow = 0, keptFrom = 0;
  std::vector<std::string> upperWarnings, lowerWarnings;
  bool usable = false;
  try {
    WithHeader(FData, &upperWarnings, [&](jpeg_decompress_struct& info) {
      if (!StartScaled(info, scale)) return;
      usable = true;
      pixels.SetSize(static_cast<int32_t>(info.output_width),
                     static_cast<int32_t>(info.output_height));
      rowsPerMcuRow = static_cast<JDIMENSION>(split->McuHeight / scale);
      keptFrom = (split->LowerFromMcuRow + 1) * rowsPerMcuRow;
    });
  } catch (const EReadError&) {
    return std::nullopt;
  }
  if (!usable) return std::nullopt;
  const JDIMENSION lowerStart = split->LowerFromMcuRow * rowsPerMcuRow;
  std::vector<uint8_t> dropped(pixels.Stride());
  bool lowerFailed = false;
  std::thread lower([&] {
    try {
      WithHeader(split->Lower, &lowerWarnings, [&](jpeg_decompress_struct& info) {
        if (!StartScaled(info, scale) ||
            info.output_width != static_cast<JDIMENSION>(pixels.Width()) ||
            lowerStart + info.output_height != static_cast<JDIMENSION>(pixels.Height())) {
          lowerFailed = true;
          return;
        }
        jpeg_start_decompress(&info);
        ReadRows(info, info.output_height, [&](JDIMENSION y) {
          return y < rowsPerMcuRow ? dropped.data()
                                   : pixels.ScanLine(static_cast<int32_t>(lowerStart + y));
        });
        jpeg_finish_decompress(&info);
      });
    } catch (...) {  // nothing may leave the thread
      lowerFailed = true;
    }
  });
  bool upperFailed = false;
  try {
    WithHeader(FData, &upperWarnings, [&](jpeg_decompress_struct& info) {
      StartScaled(info, scale);
      jpeg_start_decompress(&info);
      ReadRows(info, keptFrom,
               [&](JDIMENSION y) { return pixels.ScanLine(static_cast<int32_t>(y)); });
      jpeg_abort_decompress(&info);
    });
  } catch (...) {  // the thread is joined first
    upperFailed = true;
  }
  lower.join();
  if (upperFailed || lowerFailed || !upperWarnings.empty() || !lowerWarnings.empty())
    return std::nullopt;
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
