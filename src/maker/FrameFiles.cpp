#include "maker/FrameFiles.h"

#include <cstdio>

#include "base/AsciiText.h"
#include "base/Errors.h"
#ifdef PIXVANE_HAVE_IMAGE_FILES
#include "maker/AnimationFiles.h"
#endif
#include "maker/ImageFiles.h"
#include "maker/OutputFile.h"
#include "maker/ToolError.h"

namespace pixvane::maker {
namespace {

namespace fs = std::filesystem;

std::string LowerExtension(const fs::path& path) {
  return AsciiLowerCase(path.extension().string());
}

void WriteFolder(const fs::path& folder, const std::vector<TBitmap>& frames,
                 const std::function<void(size_t)>& onFrame) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) throw EToolError(Located(folder, 0, "cannot create the folder: " + error.message()));
  for (size_t i = 0; i < frames.size(); ++i) {
    if (onFrame) onFrame(i);
    char name[32];
    std::snprintf(name, sizeof name, "frame-%03zu.png", i);
    WritePng(folder / name, frames[i]);
  }
}

#ifdef PIXVANE_HAVE_IMAGE_FILES
// An animation is made in memory and written in one go, so a failure leaves
// no half-written file.
void WriteAnimation(const fs::path& path, const std::vector<uint8_t>& bytes, const char* format) {
  try {
    WriteOutputFile(path, bytes);
  } catch (const EError& e) {
    throw EToolError(Located(path, 0, std::string("cannot write the ") + format + ": " + e.what()));
  }
}
#else
// A name ending in .gif or .webp is never taken for a folder of PNG files.
constexpr const char* NoAnimationsHere =
#ifdef _WIN32
    "this Windows tool writes frames as PNG files only; give a folder, or make the GIF or WebP "
    "with the native tool (pixvane on Linux)";
#else
    "this build of the tool writes frames as PNG files only; give a folder, or make the GIF or "
    "WebP with a build that has giflib, libimagequant and libwebp";
#endif
#endif

}  // namespace

bool IsAnimationFile(const fs::path& path) {
  const std::string extension = LowerExtension(path);
  return extension == ".gif" || extension == ".webp";
}

int WriteFrames(const fs::path& output, const std::vector<TBitmap>& frames,
                const std::vector<int>& delaysMs, const std::function<void(size_t)>& onFrame) {
  if (frames.empty()) throw EToolError(Located(output, 0, "no frames to write"));
  if (!IsAnimationFile(output)) WriteFolder(output, frames, onFrame);
#ifdef PIXVANE_HAVE_IMAGE_FILES
  else if (LowerExtension(output) == ".webp")
    WriteAnimation(output, EncodeWebp(output, frames, delaysMs, onFrame), "WebP");
  else
    WriteAnimation(output, EncodeGif(output, frames, delaysMs, onFrame), "GIF");
#else
  else
    throw EToolError(Located(output, 0, NoAnimationsHere));
#endif
  return static_cast<int>(frames.size());
}

}  // namespace pixvane::maker
