#include "tools/pixvane/AnimatedWebp.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <memory>

#include "base/Errors.h"
#include "tools/pixvane/OutputFile.h"
#include "tools/pixvane/ToolError.h"

namespace pixvane::tool {
namespace {

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

void WriteAnimatedWebp(const std::filesystem::path& path, const std::vector<TBitmap>& frames,
                       const std::vector<int>& delaysMs,
                       const std::function<void(size_t)>& onFrame) {
  if (frames.empty()) throw EToolError(Located(path, 0, "no frames to write"));
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
  try {
    WriteOutputFile(path, bytes);
  } catch (const EError& e) {
    throw EToolError(Located(path, 0, std::string("cannot write the WebP: ") + e.what()));
  }
}

}  // namespace pixvane::tool
