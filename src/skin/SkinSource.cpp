#include "skin/SkinSource.h"

#include <cstring>

#include "base/AsciiText.h"
#include "base/Errors.h"
#include "base/Stream.h"
#include "skin/SkinHue.h"
#include "skin/SkinRecord.h"
#include "skin/SkinRecordIO.h"
#include "skin/SkinZlib.h"

namespace pixvane {
namespace {

constexpr char FileSignature[4] = {'S', 'K', 'L', 'Z'};
constexpr int FileLevel = 1;

}  // namespace

void TSkinSource::AddBitmap(std::unique_ptr<TSkinBitmap> bitmap) {
  FBitmaps.push_back(std::move(bitmap));
}

void TSkinSource::AddObject(std::unique_ptr<TSkinObject> object) {
  object->SetBitmaps(&FBitmaps);
  object->AfterLoad();
  FObjects.push_back(std::move(object));
}

TSkinObject* TSkinSource::Object(int index) const {
  if (Changing || index < 0 || index >= ObjectCount()) return nullptr;
  return FObjects[index].get();
}

TSkinObject* TSkinSource::ObjectByName(std::string_view name) const {
  for (const auto& object : FObjects)
    if (SameText(object->Name, name)) return object.get();
  return nullptr;
}

TSkinObject* TSkinSource::ObjectByKind(int32_t kind) const {
  for (const auto& object : FObjects)
    if (object->Kind == kind) return object.get();
  return nullptr;
}

TSkinObject* TSkinSource::FormObject() const {
  if (TSkinObject* form = ObjectByName("Form")) return form;
  return ObjectByKind(skForm);
}

void TSkinSource::Clear() {
  FObjects.clear();
  FBitmaps.clear();
  FAppliedHue = 0;
}

void TSkinSource::LoadFromStream(TStream& stream) {
  Clear();
  for (std::string* text : {&SkinName, &SkinVersion, &Author, &AuthorEMail, &AuthorURL})
    *text = ReadRecordText(stream);
  // A bitmap record takes at least its name's length, width and height.
  const int32_t bitmaps = ReadRecordCount(stream, 12);
  for (int32_t i = 0; i < bitmaps; ++i) {
    auto bitmap = std::make_unique<TSkinBitmap>();
    bitmap->Read(stream);
    AddBitmap(std::move(bitmap));
  }
  const int32_t objects = ReadRecordCount(stream, 8);
  for (int32_t i = 0; i < objects; ++i) AddObject(ReadObjectRecord(stream, 0));
}

void TSkinSource::SaveToStream(TStream& stream) const {
  for (const std::string* text : {&SkinName, &SkinVersion, &Author, &AuthorEMail, &AuthorURL})
    WriteRecordText(stream, *text);
  WriteRecordInt(stream, static_cast<int32_t>(FBitmaps.size()));
  for (const auto& bitmap : FBitmaps) bitmap->Write(stream);
  WriteRecordInt(stream, ObjectCount());
  for (const auto& object : FObjects) WriteObjectRecord(stream, *object);
}

std::vector<uint8_t> TSkinSource::FileBytes() const {
  TMemoryStream record;
  SaveToStream(record);
  std::vector<uint8_t> bytes(FileSignature, FileSignature + 4);
  const std::vector<uint8_t> packed =
      ZlibDeflate(record.Bytes().data(), record.Bytes().size(), FileLevel);
  bytes.insert(bytes.end(), packed.begin(), packed.end());
  return bytes;
}

void TSkinSource::LoadFromFileBytes(const std::vector<uint8_t>& bytes,
                                    const std::string& shownName) {
  if (bytes.size() < 4 || std::memcmp(bytes.data(), FileSignature, 4) != 0)
    throw EReadError(Format("%s is not a skin file", shownName));
  TMemoryStream record(ZlibInflate(bytes.data() + 4, bytes.size() - 4, MaxInflatedSkin));
  LoadFromStream(record);
}

void TSkinSource::LoadFromFile(const std::filesystem::path& path) {
  auto file = TFileStream::OpenRead(path);
  if (file->Size() > static_cast<int64_t>(MaxInflatedSkin))
    throw EReadError(Format("%s is not a skin file", file->Path()));
  std::vector<uint8_t> bytes(static_cast<size_t>(file->Size()));
  if (!bytes.empty()) file->ReadBuffer(bytes.data(), bytes.size());
  LoadFromFileBytes(bytes, file->Path());
}

void TSkinSource::SaveToFile(const std::filesystem::path& path) const {
  const std::vector<uint8_t> bytes = FileBytes();
  TFileStream::Create(path)->Write(bytes.data(), bytes.size());
}

void TSkinSource::ApplyHue(int32_t delta) {
  if (delta == FAppliedHue) return;
  const int32_t turn = static_cast<int32_t>((int64_t{delta} - FAppliedHue) % 360);
  for (const auto& bitmap : FBitmaps) ShiftBitmapHue(*bitmap, turn);
  for (const auto& object : FObjects) object->ShiftHue(turn);
  FAppliedHue = delta;
}

}  // namespace pixvane
