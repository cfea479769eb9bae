#include "package/Package.h"

#include "base/Errors.h"
#include "base/IntText.h"
#include "base/Stream.h"
#include "package/ObjectStream.h"

namespace pixvane {
namespace {

template <typename T>
std::unique_ptr<T> ReadObjectOf(TStream& file) {
  std::unique_ptr<TPersistent> object = ReadObject(file);
  if (auto* typed = dynamic_cast<T*>(object.get())) {
    object.release();
    return std::unique_ptr<T>(typed);
  }
  throw EReadError("Invalid class typecast");
}

// Both ways reach the settings object through the trailer's last field.
// False when the field is cut short.
bool SeekSettings(TStream& file) {
  auto offset = ReadTrailerField(file, file.Size() - TrailerFieldSize);
  if (!offset) return false;
  file.Seek(*offset);
  return true;
}

}  // namespace

std::optional<int32_t> ReadTrailerField(TStream& file, int64_t position) {
  char field[TrailerFieldSize];
  file.Seek(position);
  if (file.Read(field, sizeof field) != sizeof field) return std::nullopt;
  return StrToIntDef(TrimControls(std::string_view(field, sizeof field)), 0);
}

std::optional<TTrailer> ReadTrailer(TStream& file) {
  auto length = ReadTrailerField(file, file.Size() - TrailerSize);
  if (!length) return std::nullopt;
  auto offset = ReadTrailerField(file, file.Size() - TrailerFieldSize);
  if (!offset) return std::nullopt;
  return TTrailer{*length, *offset};
}

int64_t PackageStart(const TStream& file, int32_t packageLength) {
  return file.Size() - TrailerSize - packageLength;
}

std::string FormatTrailerField(int64_t value) {
  std::string field = std::to_string(value);
  field.resize(TrailerFieldSize, ' ');
  return field;
}

bool ReadSettings(TStream& file, TSSFileLocations& record) {
  // The saver window insists on the whole trailer: to it, a file of 20 to 39
  // bytes holds no package.
  if (!ReadTrailer(file) || !SeekSettings(file)) return false;
  ReadObject(file, record);
  return true;
}

std::unique_ptr<TSSFileLocations> ReadSettings(TStream& file) {
  if (!SeekSettings(file)) return nullptr;
  return ReadObjectOf<TSSFileLocations>(file);
}

std::unique_ptr<TImage> ReadFirstPicture(TStream& file) {
  auto length = ReadTrailerField(file, file.Size() - TrailerSize);
  if (!length) return nullptr;
  file.Seek(PackageStart(file, *length));
  return ReadPictureObject(file);
}

std::unique_ptr<TImage> ReadPictureObject(TStream& file) {
  return ReadObjectOf<TImage>(file);
}

}  // namespace pixvane
