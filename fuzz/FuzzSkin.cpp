// Feeds arbitrary bytes to the skin readers: as the SkinStream value of a
// form and as a skin file. What reads must lay out, paint, give its shape
// and write again.
#include <cstddef>
#include <cstdint>

#include "base/Errors.h"
#include "base/Stream.h"
#include "skin/SkinManager.h"

using namespace pixvane;

namespace {

void Exercise(TSkinSource& source) {
  for (int i = 0; i < source.ObjectCount() && i < 4; ++i) {
    TSkinObject* object = source.Object(i);
    object->SetState(i % 9);
    object->Text = "Title text";
    object->SetBounds(0, 0, 64, 48);
    TSkinBitmap target(64, 48);
    object->PaintTo(target);
    object->MakeRegion();
  }
  source.ApplyHue(90);
  TMemoryStream copy;
  source.SaveToStream(copy);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  try {
    TSkinManager manager;
    TMemoryStream stream(bytes);
    manager.ReadSkinStream(stream);
    Exercise(manager.Source());
  } catch (const EError&) {
  }
  try {
    TSkinSource source;
    source.LoadFromFileBytes(bytes, "fuzz.skin");
    Exercise(source);
  } catch (const EError&) {
  }
  return 0;
}
