// Feeds arbitrary bytes to the object stream reader, both with a target
// record and creating the object by its class name.
#include <cstddef>
#include <cstdint>

#include "base/Errors.h"
#include "base/Stream.h"
#include "package/ClassRegistry.h"
#include "package/ObjectStream.h"
#include "package/Picture.h"
#include "package/SSFileLocations.h"

using namespace pixvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered = (RegisterStreamClasses(), true);
  (void)registered;
  std::vector<uint8_t> bytes(data, data + size);
  try {
    TMemoryStream stream(bytes);
    TSSFileLocations record;
    ReadObject(stream, record);
    for (int i = 0; i < record.EffectCount(); ++i) record.EffectAt(i);
    TMemoryStream copy;
    WriteObject(copy, record);  // whatever was read must be writable again
  } catch (const EError&) {
  }
  try {
    TMemoryStream stream(bytes);
    auto object = ReadObject(stream);
    if (auto* image = dynamic_cast<TImage*>(object.get()); image && image->Picture.Graphic()) {
      TJPEGImage* jpeg = image->Picture.Graphic();
      // On two threads: a file with restart markers is cut at one and
      // decoded in two parts, anything else whole.
      if (int64_t{jpeg->Width()} * jpeg->Height() <= 4'000'000) jpeg->Decode(8, nullptr, 2);
    }
  } catch (const EError&) {
  }
  return 0;
}
