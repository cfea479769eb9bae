#include "skin/SkinRecord.h"

#include <vector>

#include "base/Errors.h"
#include "base/Stream.h"
#include "package/ObjectStream.h"
#include "package/ObjectText.h"
#include "skin/SkinBitmapObjects.h"
#include "skin/SkinRecordIO.h"
#include "skin/SkinStateObjects.h"
#include "skin/SkinSysButtons.h"

namespace pixvane {
namespace {

struct TSkinClass {
  std::string_view Name;
  std::unique_ptr<TSkinObject> (*Create)();
};

template <typename T>
std::unique_ptr<TSkinObject> Make() {
  return std::make_unique<T>();
}

constexpr TSkinClass Classes[] = {
    {"TSkinObject", Make<TSkinObject>},
    {"TActiveObject", Make<TActiveObject>},
    {"TBitmapObject", Make<TBitmapObject>},
    {"TActiveBitmap", Make<TActiveBitmap>},
    {"TSystemButton", Make<TSystemButton>},
    {"TButtonObject", Make<TButtonObject>},
    {"TTextObject", Make<TTextObject>},
    {"TLinkSkinObject", Make<TLinkSkinObject>},
    {"TBitmapSkinObject", Make<TBitmapSkinObject>},
    {"TFormBitmapSkinObject", Make<TFormBitmapSkinObject>},
    {"TSysButtonSkinObject", Make<TSysButtonSkinObject>},
    {"TActiveSkinObject", Make<TActiveSkinObject>},
    {"TColorButtonObject", Make<TColorButtonObject>},
    {"TBitmapBoxObject", Make<TBitmapBoxObject>},
    {"TActiveBitmapBoxObject", Make<TActiveBitmapBoxObject>},
    {"TButtonBitmapBoxObject", Make<TButtonBitmapBoxObject>},
    {"TRollPanelObject", Make<TRollPanelObject>},
};

std::string AsText(const TMemoryStream& stream) {
  return std::string(stream.Bytes().begin(), stream.Bytes().end());
}

}  // namespace

std::unique_ptr<TSkinObject> CreateSkinObject(std::string_view className) {
  for (const TSkinClass& entry : Classes)
    if (entry.Name == className) return entry.Create();
  throw EClassNotFound(Format("Class %s not found", std::string(className)));
}

std::vector<std::string_view> SkinClassNames() {
  std::vector<std::string_view> names;
  for (const TSkinClass& entry : Classes) names.push_back(entry.Name);
  return names;
}

std::unique_ptr<TSkinObject> ReadObjectRecord(TStream& stream, int depth) {
  if (depth >= MaxSkinNesting) throw EReadError("Skin objects nest too deeply");
  const std::string className = ReadRecordText(stream);
  std::unique_ptr<TSkinObject> object = CreateSkinObject(className);
  const std::string text = ReadRecordText(stream);
  TMemoryStream textStream(std::vector<uint8_t>(text.begin(), text.end())), binary;
  ObjectTextToBinary(textStream, binary);
  binary.Seek(0);
  // The children, read while the properties are applied, are one deeper.
  object->SetRecordDepth(depth);
  ReadObject(binary, *object);
  object->SetCharset(DefaultCharset);
  return object;
}

void WriteObjectRecord(TStream& stream, TSkinObject& object) {
  WriteRecordText(stream, object.ClassName());
  TMemoryStream binary, text;
  WriteObject(binary, object);
  binary.Seek(0);
  ObjectBinaryToText(binary, text);
  WriteRecordText(stream, AsText(text));
}

std::unique_ptr<TSkinObject> CloneSkinObject(TSkinObject& object) {
  TMemoryStream binary;
  WriteObject(binary, object);
  binary.Seek(0);
  std::unique_ptr<TSkinObject> copy = CreateSkinObject(object.ClassName());
  ReadObject(binary, *copy);
  copy->SetBitmaps(object.Bitmaps());
  copy->AfterLoad();
  return copy;
}

}  // namespace pixvane
