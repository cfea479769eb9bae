#include "tools/pixvane/ImageFiles.h"

#include <gif_lib.h>
#include <libimagequant.h>
#include <png.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "base/Errors.h"
#include "package/Picture.h"
#include "tools/pixvane/AnimatedWebp.h"
#include "tools/pixvane/OutputFile.h"
#include "tools/pixvane/ToolError.h"

namespace pixvane::tool {
namespace {

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EToolError(Located(path, 0, "cannot read the file"));
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TBitmap ReadPng(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
    throw EToolError(Located(path, 0, std::string("not a readable PNG: ") + image.message));
  image.format = PNG_FORMAT_BGR;
  TBitmap bitmap(static_cast<int32_t>(image.width), static_cast<int32_t>(image.height));
  if (!png_image_finish_read(&image, nullptr, bitmap.Bits(),
                             static_cast<png_int_32>(bitmap.Stride()), nullptr))
    throw EToolError(Located(path, 0, std::string("not a readable PNG: ") + image.message));
  return bitmap;
}

// Both formats are made in memory and written in one go, so a failure leaves
// no half-written file, and every file gets the same permissions.
void WriteImageFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes,
                    const char* format) {
  try {
    WriteOutputFile(path, bytes);
  } catch (const EError& e) {
    throw EToolError(Located(path, 0, std::string("cannot write the ") + format + ": " + e.what()));
  }
}

}  // namespace

TBitmap ReadImage(const std::filesystem::path& path) {
  std::vector<uint8_t> bytes = ReadFileBytes(path);
  if (bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0) return ReadPng(path, bytes);
  try {
    return TJPEGImage(std::move(bytes)).Decode(1);
  } catch (const std::exception& e) {
    throw EToolError(
        Located(path, 0, std::string("neither a PNG nor a readable JPEG: ") + e.what()));
  }
}

void WritePng(const std::filesystem::path& path, const TBitmap& bitmap) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(bitmap.Width());
  image.height = static_cast<png_uint_32>(bitmap.Height());
  image.format = PNG_FORMAT_BGR;
  const png_int_32 stride = static_cast<png_int_32>(bitmap.Stride());
  auto fail = [&] {
    throw EToolError(Located(path, 0, std::string("cannot write the PNG: ") + image.message));
  };
  // The first call measures the file, the second makes it.
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, bitmap.Bits(), stride, nullptr)) fail();
  std::vector<uint8_t> bytes(size);
  if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, bitmap.Bits(), stride, nullptr))
    fail();
  bytes.resize(size);
  WriteImageFile(path, bytes, "PNG");
}

namespace {

// Closes the GIF encoder on every way out.
struct TGifFile {
  GifFileType* File = nullptr;
  ~TGifFile() {
    int error;
    if (File) EGifCloseFile(File, &error);
  }
};

// giflib's output function: the bytes go to the vector behind UserData.
int AppendGifBytes(GifFileType* gif, const GifByteType* bytes, int count) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), bytes, bytes + count);
  return count;
}

void CheckGif(int result, const std::filesystem::path& path, int error) {
  if (result == GIF_ERROR)
    throw EToolError(
        Located(path, 0, std::string("cannot write the GIF: ") + GifErrorString(error)));
}

struct TQuantizer {
  liq_attr* Attr = liq_attr_create();
  liq_image* Image = nullptr;
  liq_result* Result = nullptr;
  ~TQuantizer() {
    if (Result) liq_result_destroy(Result);
    if (Image) liq_image_destroy(Image);
    liq_attr_destroy(Attr);
  }
};

// A palette of up to 256 colours chosen for this frame, with the frame
// dithered onto it: a sky's gradient stays a gradient instead of bands.
void Quantize(const TBitmap& frame, std::vector<GifByteType>& indexes, GifColorType palette[256],
              const std::filesystem::path& path) {
  const int w = frame.Width(), h = frame.Height();
  std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = frame.ScanLine(y);
    uint8_t* out = rgba.data() + static_cast<size_t>(y) * w * 4;
    for (int x = 0; x < w; ++x, out += 4) {
      out[0] = row[3 * x + 2];
      out[1] = row[3 * x + 1];
      out[2] = row[3 * x];
      out[3] = 255;
    }
  }
  TQuantizer q;
  liq_set_speed(q.Attr, 6);  // a minute for a long show at 1080p, not ten
  q.Image = liq_image_create_rgba(q.Attr, rgba.data(), w, h, 0);
  if (!q.Image || liq_image_quantize(q.Image, q.Attr, &q.Result) != LIQ_OK)
    throw EToolError(Located(path, 0, "cannot reduce a frame to 256 colours"));
  liq_set_dithering_level(q.Result, 1.0f);
  indexes.resize(rgba.size() / 4);
  if (liq_write_remapped_image(q.Result, q.Image, indexes.data(), indexes.size()) != LIQ_OK)
    throw EToolError(Located(path, 0, "cannot reduce a frame to 256 colours"));
  const liq_palette* colours = liq_get_palette(q.Result);
  for (unsigned i = 0; i < 256; ++i) {
    liq_color c = i < colours->count ? colours->entries[i] : liq_color{0, 0, 0, 255};
    palette[i] = {c.r, c.g, c.b};
  }
}

void PutFrame(GifFileType* gif, const TBitmap& frame, int delayMs,
              const std::filesystem::path& path) {
  const int w = frame.Width(), h = frame.Height();
  std::vector<GifByteType> indexes;
  GifColorType palette[256];
  Quantize(frame, indexes, palette, path);
  ColorMapObject* map = GifMakeMapObject(256, palette);
  int delay = std::min((delayMs + 5) / 10, 65535);
  GifByteType control[4] = {0, static_cast<GifByteType>(delay & 0xFF),
                            static_cast<GifByteType>(delay >> 8), 0};
  int result = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
  if (result != GIF_ERROR) result = EGifPutImageDesc(gif, 0, 0, w, h, false, map);
  GifFreeMapObject(map);
  CheckGif(result, path, gif->Error);
  for (int y = 0; y < h && result != GIF_ERROR; ++y)
    result = EGifPutLine(gif, indexes.data() + static_cast<size_t>(y) * w, w);
  CheckGif(result, path, gif->Error);
}

}  // namespace

void WriteAnimatedGif(const std::filesystem::path& path, const std::vector<TBitmap>& frames,
                      const std::vector<int>& delaysMs,
                      const std::function<void(size_t)>& onFrame) {
  if (frames.empty()) throw EToolError(Located(path, 0, "no frames to write"));
  int error = 0;
  std::vector<uint8_t> bytes;
  TGifFile gif;
  gif.File = EGifOpen(&bytes, AppendGifBytes, &error);
  if (!gif.File) CheckGif(GIF_ERROR, path, error);
  EGifSetGifVersion(gif.File, true);
  CheckGif(EGifPutScreenDesc(gif.File, frames[0].Width(), frames[0].Height(), 8, 0, nullptr), path,
           gif.File->Error);
  // The application extension that makes viewers loop the animation.
  static const GifByteType Netscape[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
  static const GifByteType Loop[] = {1, 0, 0};
  CheckGif(EGifPutExtensionLeader(gif.File, APPLICATION_EXT_FUNC_CODE), path, gif.File->Error);
  CheckGif(EGifPutExtensionBlock(gif.File, sizeof Netscape, Netscape), path, gif.File->Error);
  CheckGif(EGifPutExtensionBlock(gif.File, sizeof Loop, Loop), path, gif.File->Error);
  CheckGif(EGifPutExtensionTrailer(gif.File), path, gif.File->Error);
  for (size_t i = 0; i < frames.size(); ++i) {
    if (onFrame) onFrame(i);
    PutFrame(gif.File, frames[i], delaysMs[i], path);
  }
  int closeError = 0;
  int result = EGifCloseFile(gif.File, &closeError);
  gif.File = nullptr;
  CheckGif(result, path, closeError);
  WriteImageFile(path, bytes, "GIF");
}

namespace {

std::string LowerExtension(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

}  // namespace

bool IsAnimationFile(const std::filesystem::path& path) {
  const std::string extension = LowerExtension(path);
  return extension == ".gif" || extension == ".webp";
}

void WriteAnimation(const std::filesystem::path& path, const std::vector<TBitmap>& frames,
                    const std::vector<int>& delaysMs, const std::function<void(size_t)>& onFrame) {
  if (LowerExtension(path) == ".webp")
    WriteAnimatedWebp(path, frames, delaysMs, onFrame);
  else
    WriteAnimatedGif(path, frames, delaysMs, onFrame);
}

}  // namespace pixvane::tool
