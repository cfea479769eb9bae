#pragma once
#include <cstdint>
#include <optional>
#include <vector>

namespace pixvane::maker {

// The EXIF orientation of a JPEG file: 1 (upright as stored) to 8, the way
// a camera records how it was held. 1 when the file has no EXIF block, no
// orientation in it, or a value outside 1-8.
int ExifOrientation(const std::vector<uint8_t>& jpeg);

// A calendar date, as a camera records the day a photo was taken.
struct TDate {
  int Year, Month, Day;
  bool operator==(const TDate&) const = default;
};

// The date taken (EXIF DateTimeOriginal) of a JPEG file; nullopt when it has
// none or the camera left it blank.
std::optional<TDate> ExifDateTaken(const std::vector<uint8_t>& jpeg);

// jpeg with source's EXIF block (the one holding an orientation) put in
// after its start marker, for a picture encoded anew from source; jpeg as it
// is when source has none.
std::vector<uint8_t> WithExifFrom(const std::vector<uint8_t>& jpeg,
                                  const std::vector<uint8_t>& source);

// The picture turned so it is stored upright, with orientation 1 written in
// its EXIF block; the file as it is when it is upright already. The turn
// moves the compressed blocks (libjpeg-turbo's lossless transform), so the
// picture loses no quality; what a turn cannot move whole, the last partial
// block row or column at the edge that becomes the top or the left (at most
// 15 pixels), is trimmed off. A progressive file stays progressive, a
// baseline one baseline. Fails with EError on a damaged file.
std::vector<uint8_t> TurnUpright(const std::vector<uint8_t>& jpeg);

}  // namespace pixvane::maker
