#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "package/Picture.h"
#include "package/SSFileLocations.h"

namespace pixvane {

class TStream;

// The last 40 bytes of a saver: two 20-character decimal fields, the package
// length (from the package start up to the trailer) and the absolute offset
// of the settings object.
inline constexpr int TrailerSize = 40;
inline constexpr int TrailerFieldSize = 20;

struct TTrailer {
  int32_t PackageLength = 0;
  int32_t SettingsOffset = 0;
};

// Reads a 20-byte field at position: trimmed of codes 0 to 32, 0 when it is
// not an integer; nothing when fewer than 20 bytes arrive.
std::optional<int32_t> ReadTrailerField(TStream& file, int64_t position);
std::optional<TTrailer> ReadTrailer(TStream& file);
int64_t PackageStart(const TStream& file, int32_t packageLength);
// A field as written: the digits, left-aligned, padded with spaces to 20.
std::string FormatTrailerField(int64_t value);

// The saver window's way: the trailer from size - 40, then the settings
// object into record (its class name is not checked). False, with nothing
// read, when the trailer is cut short; a damaged object raises its read error.
bool ReadSettings(TStream& file, TSSFileLocations& record);

// The setup dialog's way: the settings offset from size - 20, and a new
// record created from the stream's class name. Null when the field is cut short.
std::unique_ptr<TSSFileLocations> ReadSettings(TStream& file);

// The preview's way: the first picture object, at the package start. Null
// when the trailer is cut short.
std::unique_ptr<TImage> ReadFirstPicture(TStream& file);

// Reads one picture object at the stream's position.
std::unique_ptr<TImage> ReadPictureObject(TStream& file);

}  // namespace pixvane
