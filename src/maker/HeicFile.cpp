#include <libheif/heif.h>

#include <memory>
#include <string>

#include "maker/ImageFiles.h"
#include "maker/ToolError.h"

namespace pixvane::maker {
namespace {

namespace fs = std::filesystem;

struct TContextDeleter {
  void operator()(heif_context* context) const { heif_context_free(context); }
};
struct THandleDeleter {
  void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct TImageDeleter {
  void operator()(heif_image* image) const { heif_image_release(image); }
};

void Check(const fs::path& path, heif_error error) {
  if (error.code != heif_error_Ok)
    throw EToolError(Located(
        path, 0, std::string("not a readable HEIC picture (libheif: ") + error.message + ")"));
}

}  // namespace

TBitmap ReadHeic(const fs::path& path) {
  std::unique_ptr<heif_context, TContextDeleter> context(heif_context_alloc());
  Check(path, heif_context_read_from_file(context.get(), Utf8FromPath(path).c_str(), nullptr));
  heif_image_handle* rawHandle = nullptr;
  Check(path, heif_context_get_primary_image_handle(context.get(), &rawHandle));
  std::unique_ptr<heif_image_handle, THandleDeleter> handle(rawHandle);
  int64_t pixels = int64_t{heif_image_handle_get_width(handle.get())} *
                   heif_image_handle_get_height(handle.get());
  if (pixels > MaxPicturePixels)
    throw EToolError(Located(path, 0, "the picture is too large (more than 268 million pixels)"));
  // The default options apply the file's turns and mirrors.
  heif_image* rawImage = nullptr;
  Check(path, heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                                heif_chroma_interleaved_RGB, nullptr));
  std::unique_ptr<heif_image, TImageDeleter> image(rawImage);
  int width = heif_image_get_width(image.get(), heif_channel_interleaved);
  int height = heif_image_get_height(image.get(), heif_channel_interleaved);
  int stride = 0;
  const uint8_t* rows =
      heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
  if (!rows || width <= 0 || height <= 0)
    throw EToolError(Located(path, 0, "not a readable HEIC picture (no pixels)"));
  TBitmap bitmap(width, height);
  for (int y = 0; y < height; ++y) {
    const uint8_t* in = rows + static_cast<ptrdiff_t>(y) * stride;
    uint8_t* out = bitmap.ScanLine(y);
    for (int x = 0; x < width; ++x) {  // RGB in, BGR out
      out[3 * x] = in[3 * x + 2];
      out[3 * x + 1] = in[3 * x + 1];
      out[3 * x + 2] = in[3 * x];
    }
  }
  return bitmap;
}

}  // namespace pixvane::maker
