#include "maker/Upright.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include <turbojpeg.h>

#include "base/Errors.h"
#include "package/Picture.h"

namespace pixvane::maker {
namespace {

// Where a file's orientation value lies: its place in the file and the byte
// order of the EXIF block around it. The file is the maker's, so every step
// checks it stays inside the block before it reads.
struct TOrientationTag {
  size_t Offset;
  bool BigEndian;
};

class TExifReader {
 public:
  TExifReader(const std::vector<uint8_t>& bytes, size_t start, size_t end, bool bigEndian)
      : FBytes(bytes), FStart(start), FEnd(end), FBigEndian(bigEndian) {}

  bool Has(uint64_t offset, uint64_t count) const { return offset + count <= FEnd - FStart; }
  uint32_t U16(uint64_t offset) const {
    uint32_t a = FBytes[FStart + offset], b = FBytes[FStart + offset + 1];
    return FBigEndian ? a << 8 | b : b << 8 | a;
  }
  uint32_t U32(uint64_t offset) const {
    return FBigEndian ? U16(offset) << 16 | U16(offset + 2) : U16(offset + 2) << 16 | U16(offset);
  }
  size_t At(uint64_t offset) const { return FStart + offset; }
  bool BigEndian() const { return FBigEndian; }

 private:
  const std::vector<uint8_t>& FBytes;
  size_t FStart, FEnd;
  bool FBigEndian;
};

constexpr uint32_t OrientationTag = 0x0112;
constexpr uint32_t ExifDirectoryTag = 0x8769;
constexpr uint32_t DateTakenTag = 0x9003;
constexpr uint32_t AsciiType = 2;
constexpr uint32_t ShortType = 3;
constexpr uint32_t LongType = 4;

// The TIFF structure of an APP1 block holding "Exif\0\0" and a TIFF header.
std::optional<TExifReader> OpenExif(const std::vector<uint8_t>& jpeg, size_t start, size_t end) {
  static const uint8_t Signature[] = {'E', 'x', 'i', 'f', 0, 0};
  if (end - start < sizeof Signature + 8 ||
      !std::equal(std::begin(Signature), std::end(Signature), jpeg.begin() + start))
    return std::nullopt;
  size_t tiff = start + sizeof Signature;
  bool bigEndian = jpeg[tiff] == 'M' && jpeg[tiff + 1] == 'M';
  if (!bigEndian && !(jpeg[tiff] == 'I' && jpeg[tiff + 1] == 'I')) return std::nullopt;
  TExifReader exif(jpeg, tiff, end, bigEndian);
  if (exif.U16(2) != 42) return std::nullopt;
  return exif;
}

// The offset of the entry with tag, type and count in the directory at
// directory; nullopt when it has none or leaves the block.
std::optional<uint64_t> FindEntry(const TExifReader& exif, uint64_t directory, uint32_t tag,
                                  uint32_t type, uint32_t count) {
  if (!exif.Has(directory, 2)) return std::nullopt;
  uint32_t entries = exif.U16(directory);
  for (uint32_t i = 0; i < entries; ++i) {
    uint64_t entry = directory + 2 + 12 * uint64_t{i};
    if (!exif.Has(entry, 12)) return std::nullopt;
    if (exif.U16(entry) == tag && exif.U16(entry + 2) == type && exif.U32(entry + 4) == count)
      return entry;
  }
  return std::nullopt;
}

// The orientation entry of the first image's directory.
std::optional<TOrientationTag> FindInExif(const std::vector<uint8_t>& jpeg, size_t start,
                                          size_t end) {
  std::optional<TExifReader> exif = OpenExif(jpeg, start, end);
  if (!exif) return std::nullopt;
  auto entry = FindEntry(*exif, exif->U32(4), OrientationTag, ShortType, 1);
  if (!entry) return std::nullopt;
  return TOrientationTag{exif->At(*entry + 8), exif->BigEndian()};
}

// "YYYY:MM:DD HH:MM:SS" of the date taken, in the EXIF directory that the
// first image's directory points to.
std::optional<std::string> FindDateTaken(const std::vector<uint8_t>& jpeg, size_t start,
                                         size_t end) {
  std::optional<TExifReader> exif = OpenExif(jpeg, start, end);
  if (!exif) return std::nullopt;
  auto pointer = FindEntry(*exif, exif->U32(4), ExifDirectoryTag, LongType, 1);
  if (!pointer) return std::nullopt;
  auto entry = FindEntry(*exif, exif->U32(*pointer + 8), DateTakenTag, AsciiType, 20);
  if (!entry) return std::nullopt;
  const uint64_t text = exif->U32(*entry + 8);
  if (!exif->Has(text, 19)) return std::nullopt;
  return std::string(jpeg.begin() + static_cast<ptrdiff_t>(exif->At(text)),
                     jpeg.begin() + static_cast<ptrdiff_t>(exif->At(text) + 19));
}

// Walks the segments ahead of the first scan, where the EXIF block must be,
// calling visit(marker, start, end) with each one's place (its marker at
// start, its contents from start + 4) until visit returns true.
template <typename Visit>
void VisitSegments(const std::vector<uint8_t>& jpeg, Visit visit) {
  if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return;
  size_t at = 2;
  while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
    uint8_t marker = jpeg[at + 1];
    if (marker == 0xFF) {  // a fill byte before the marker
      ++at;
      continue;
    }
    if (marker == 0xDA || marker == 0xD9) break;  // start of scan, end of image
    size_t length = size_t{jpeg[at + 2]} << 8 | jpeg[at + 3];
    if (length < 2 || at + 2 + length > jpeg.size()) break;
    if (visit(marker, at, at + 2 + length)) return;
    at += 2 + length;
  }
}

std::optional<TOrientationTag> FindOrientation(const std::vector<uint8_t>& jpeg) {
  std::optional<TOrientationTag> found;
  VisitSegments(jpeg, [&](uint8_t marker, size_t start, size_t end) {
    if (marker == 0xE1) found = FindInExif(jpeg, start + 4, end);
    return found.has_value();
  });
  return found;
}

int OrientationAt(const std::vector<uint8_t>& jpeg, const TOrientationTag& tag) {
  uint32_t a = jpeg[tag.Offset], b = jpeg[tag.Offset + 1];
  return static_cast<int>(tag.BigEndian ? a << 8 | b : b << 8 | a);
}

// The turn that makes a picture of each orientation upright.
int TurnFor(int orientation) {
  static const int Turns[] = {TJXOP_NONE,   TJXOP_NONE,       TJXOP_HFLIP,
                              TJXOP_ROT180, TJXOP_VFLIP,      TJXOP_TRANSPOSE,
                              TJXOP_ROT90,  TJXOP_TRANSVERSE, TJXOP_ROT270};
  return Turns[orientation];
}

struct TTransformerDeleter {
  void operator()(void* handle) const { tjDestroy(handle); }
};
struct TBufferDeleter {
  void operator()(unsigned char* buffer) const { tjFree(buffer); }
};

}  // namespace

int ExifOrientation(const std::vector<uint8_t>& jpeg) {
  auto tag = FindOrientation(jpeg);
  int orientation = tag ? OrientationAt(jpeg, *tag) : 1;
  return orientation >= 1 && orientation <= 8 ? orientation : 1;
}

std::optional<TDate> ExifDateTaken(const std::vector<uint8_t>& jpeg) {
  std::optional<std::string> text;
  VisitSegments(jpeg, [&](uint8_t marker, size_t start, size_t end) {
    if (marker == 0xE1) text = FindDateTaken(jpeg, start + 4, end);
    return text.has_value();
  });
  // Cameras without a clock write blanks or zeros; neither is a date.
  int year = 0, month = 0, day = 0;
  if (!text || std::sscanf(text->c_str(), "%4d:%2d:%2d", &year, &month, &day) != 3)
    return std::nullopt;
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
  return TDate{year, month, day};
}

std::vector<uint8_t> WithExifFrom(const std::vector<uint8_t>& jpeg,
                                  const std::vector<uint8_t>& source) {
  std::vector<uint8_t> result = jpeg;
  VisitSegments(source, [&](uint8_t marker, size_t start, size_t end) {
    if (marker != 0xE1 || !FindInExif(source, start + 4, end)) return false;
    if (result.size() >= 2)
      result.insert(result.begin() + 2, source.begin() + static_cast<ptrdiff_t>(start),
                    source.begin() + static_cast<ptrdiff_t>(end));
    return true;
  });
  return result;
}

std::vector<uint8_t> TurnUpright(const std::vector<uint8_t>& jpeg) {
  int orientation = ExifOrientation(jpeg);
  if (orientation == 1) return jpeg;
  std::unique_ptr<void, TTransformerDeleter> transformer(tjInitTransform());
  if (!transformer) throw EError("libjpeg-turbo cannot start a transform");
  tjtransform transform{};
  transform.op = TurnFor(orientation);
  // Markers are copied, the EXIF block with them; only its orientation
  // changes below. A progressive picture stays progressive; a baseline one
  // stays baseline, with libjpeg's standard Huffman tables (TurboJPEG 2.1
  // does not optimise them when it transforms), a few per cent larger.
  transform.options = TJXOPT_TRIM;
  if (TJPEGImage(jpeg).Progressive()) transform.options |= TJXOPT_PROGRESSIVE;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  int result =
      tjTransform(transformer.get(), jpeg.data(), jpeg.size(), 1, &buffer, &size, &transform, 0);
  std::unique_ptr<unsigned char, TBufferDeleter> owned(buffer);
  // A warning (data cut short) still gives the whole picture; the build has
  // told the maker about it when it decoded the file.
  if (result != 0 && tjGetErrorCode(transformer.get()) != TJERR_WARNING)
    throw EError(std::string("cannot turn the picture upright (libjpeg-turbo: ") +
                 tjGetErrorStr2(transformer.get()) + ")");
  std::vector<uint8_t> turned(buffer, buffer + size);
  if (auto tag = FindOrientation(turned)) {
    turned[tag->Offset] = tag->BigEndian ? 0 : 1;
    turned[tag->Offset + 1] = tag->BigEndian ? 1 : 0;
  }
  return turned;
}

}  // namespace pixvane::maker
