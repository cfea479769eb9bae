#include "maker/AnimationFiles.h"

#include <gif_lib.h>
#include <libimagequant.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <memory>

#include "maker/ToolError.h"

namespace pixvane::maker {
namespace {

namespace fs = std::filesystem;

// ------------------------------------------------------------------ GIF

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

void CheckGif(int result, const fs::path& path, int error) {
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
              const fs::path& path) {
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

void PutFrame(GifFileType* gif, const TBitmap& frame, int delayMs, const fs::path& path) {
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

// ----------------------------------------------------------------- WebP

// Quality 90 keeps a sky's gradient smooth; below it the blocks show.
constexpr float Quality = 90;

struct TEncoderDelete {
  void operator()(WebPAnimEncoder* encoder) const { WebPAnimEncoderDelete(encoder); }
};

struct TPicture {
  WebPPicture Picture;
  TPicture() { WebPPictureInit(&Picture); }
  ~TPicture() { WebPPictureFree(&Picture); }
};

}  // namespace

// The frames as a GIF that loops, each frame with a palette of its own.
std::vector<uint8_t> EncodeGif(const fs::path& path, const std::vector<TBitmap>& frames,
                               const std::vector<int>& delaysMs,
                               const std::function<void(size_t)>& onFrame) {
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
  return bytes;
}

// The frames as a lossy WebP that loops: full colour without a GIF's
// palette, at a size a maker can mail.
std::vector<uint8_t> EncodeWebp(const fs::path& path, const std::vector<TBitmap>& frames,
                                const std::vector<int>& delaysMs,
                                const std::function<void(size_t)>& onFrame) {
  auto fail = [&](const std::string& why) {
    throw EToolError(Located(path, 0, "cannot write the WebP: " + why));
  };
  const int w = frames[0].Width(), h = frames[0].Height();
  WebPAnimEncoderOptions options;
  WebPConfig config;
  if (!WebPAnimEncoderOptionsInit(&options) ||
      !WebPConfigPreset(&config, WEBP_PRESET_PHOTO, Quality))
    fail("the library does not match its headers");
  std::unique_ptr<WebPAnimEncoder, TEncoderDelete> encoder(WebPAnimEncoderNew(w, h, &options));
  if (!encoder) fail("out of memory");
  int timestamp = 0;
  for (size_t i = 0; i < frames.size(); ++i) {
    if (onFrame) onFrame(i);
    TPicture picture;
    picture.Picture.use_argb = 1;
    picture.Picture.width = w;
    picture.Picture.height = h;
    if (!WebPPictureImportBGR(&picture.Picture, frames[i].Bits(),
                              static_cast<int>(frames[i].Stride())))
      fail("out of memory");
    if (!WebPAnimEncoderAdd(encoder.get(), &picture.Picture, timestamp, &config))
      fail(WebPAnimEncoderGetError(encoder.get()));
    timestamp += delaysMs[i];
  }
  // The last frame's time is told by a closing timestamp without a picture.
  WebPData data;
  WebPDataInit(&data);
  if (!WebPAnimEncoderAdd(encoder.get(), nullptr, timestamp, nullptr) ||
      !WebPAnimEncoderAssemble(encoder.get(), &data))
    fail(WebPAnimEncoderGetError(encoder.get()));
  std::vector<uint8_t> bytes(data.bytes, data.bytes + data.size);
  WebPDataClear(&data);
  return bytes;
}

}  // namespace pixvane::maker
