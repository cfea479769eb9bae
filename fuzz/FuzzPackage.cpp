// Treats arbitrary bytes as a saver executable and reads its package every
// way the player does, through the view that ends where a signature's
// certificate table begins: the settings for the saver window and for the
// setup dialog, the preview's first picture, and each listed picture and
// media run.
#include <cstddef>
#include <cstdint>

#include "base/Errors.h"
#include "base/Stream.h"
#include "package/ClassRegistry.h"
#include "package/Package.h"
#include "package/SignedSaver.h"

using namespace pixvane;

namespace {

void ReadListedMedia(const TSSFileLocations& record, TStream& file) {
  for (int i = 0; i < record.PicCount() && i < 16; ++i) {
    try {
      file.Seek(record.PicOffsetAt(i));
      ReadPictureObject(file);
    } catch (const EError&) {
    }
  }
  const TMediaRun sounds = record.Sounds();
  for (int i = 0; i < sounds.Count(); ++i) {
    TMemoryStream target;
    file.Seek(sounds.OffsetAt(i));
    sounds.NameAt(i);
    int32_t size = sounds.SizeAt(i);
    // Sizes beyond the file fail before copying much; only plausible runs are copied.
    if (size > 0 && size <= file.Size()) file.CopyTo(target, size);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered = (RegisterStreamClasses(), true);
  (void)registered;
  auto view = PackageView(std::make_unique<TMemoryStream>(std::vector<uint8_t>(data, data + size)));
  TStream& file = *view;
  try {
    TSSFileLocations record;
    if (ReadSettings(file, record)) ReadListedMedia(record, file);
  } catch (const EError&) {
  }
  try {
    ReadSettings(file);
  } catch (const EError&) {
  }
  try {
    ReadFirstPicture(file);
  } catch (const EError&) {
  }
  return 0;
}
