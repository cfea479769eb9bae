#include "maker/ImageFiles.h"

#include <png.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "base/Errors.h"
#include "maker/OutputFile.h"
#include "maker/ToolError.h"
#include "package/Picture.h"

namespace pixvane::maker {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EToolError(Located(path, 0, "cannot read the file"));
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool IsPng(const std::vector<uint8_t>& bytes) {
  return bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0;
}

// Where a bitmap's rows start and how far apart they lie: a picture's are
// padded to 4 bytes, a skin bitmap's are not (0 lets libpng count).
void* Rows(TBitmap& bitmap) {
  return bitmap.Bits();
}
void* Rows(TSkinBitmap& bitmap) {
  return bitmap.ScanLine(0);
}
png_int_32 RowStride(const TBitmap& bitmap) {
  return static_cast<png_int_32>(bitmap.Stride());
}
png_int_32 RowStride(const TSkinBitmap&) {
  return 0;
}

// Decodes the PNG in bytes into an image of pixels of format, when fits
// takes its width and height.
template <typename TImage, typename TFits>
TImage DecodePng(const fs::path& path, const std::vector<uint8_t>& bytes, png_uint_32 format,
                 TFits fits, const char* tooLarge) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  auto fail = [&](const std::string& why) {
    png_image_free(&image);
    throw EToolError(Located(path, 0, why));
  };
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
    fail(std::string("not a readable PNG: ") + image.message);
  if (!fits(int64_t{image.width}, int64_t{image.height})) fail(tooLarge);
  image.format = format;
  TImage result(static_cast<int32_t>(image.width), static_cast<int32_t>(image.height));
  if (!png_image_finish_read(&image, nullptr, Rows(result), RowStride(result), nullptr))
    fail(std::string("not a readable PNG: ") + image.message);
  return result;
}

// Encodes rows of pixels of format (stride bytes apart) and writes the file
// in one go, so a failure leaves no half-written file.
void EncodePng(const fs::path& path, const void* rows, int32_t width, int32_t height,
               png_int_32 stride, png_uint_32 format) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = format;
  auto fail = [&](const std::string& why) {
    throw EToolError(Located(path, 0, "cannot write the PNG: " + why));
  };
  // The first call measures the file, the second makes it.
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, rows, stride, nullptr))
    fail(image.message);
  std::vector<uint8_t> bytes(size);
  if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rows, stride, nullptr))
    fail(image.message);
  bytes.resize(size);
  try {
    WriteOutputFile(path, bytes);
  } catch (const EError& e) {
    fail(e.what());
  }
}

TBitmap DecodePicture(const fs::path& path, const std::vector<uint8_t>& bytes) {
  auto fits = [](int64_t width, int64_t height) { return width * height <= MaxPicturePixels; };
  return DecodePng<TBitmap>(path, bytes, PNG_FORMAT_BGR, fits,
                            "the picture is larger than the tool takes (268 million pixels)");
}

}  // namespace

TBitmap ReadImage(const fs::path& path) {
  std::vector<uint8_t> bytes = ReadFileBytes(path);
  if (IsPng(bytes)) return DecodePicture(path, bytes);
  try {
    return TJPEGImage(std::move(bytes)).Decode(1);
  } catch (const std::exception& e) {
    throw EToolError(
        Located(path, 0, std::string("neither a PNG nor a readable JPEG: ") + e.what()));
  }
}

TBitmap ReadPng(const fs::path& path) {
  return DecodePicture(path, ReadFileBytes(path));
}

TSkinBitmap ReadPngWithAlpha(const fs::path& path) {
  return DecodePng<TSkinBitmap>(path, ReadFileBytes(path), PNG_FORMAT_BGRA, IsSkinBitmapSize,
                                "the picture is larger than a skin bitmap may be");
}

void WritePng(const fs::path& path, const TBitmap& bitmap) {
  EncodePng(path, bitmap.Bits(), bitmap.Width(), bitmap.Height(), RowStride(bitmap),
            PNG_FORMAT_BGR);
}

void WritePng(const fs::path& path, const TSkinBitmap& bitmap) {
  EncodePng(path, bitmap.ScanLine(0), bitmap.Width(), bitmap.Height(), RowStride(bitmap),
            PNG_FORMAT_BGRA);
}

}  // namespace pixvane::maker
