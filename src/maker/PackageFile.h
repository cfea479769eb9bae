#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Stream.h"
#include "package/Package.h"
#include "package/SSFileLocations.h"

namespace pixvane::maker {

// A saver opened for reading, its trailer and settings read the way the
// saver window reads them.
struct TPackageFile {
  std::unique_ptr<TStream> File;  // up to the package's end (SignedSaver.h)
  TTrailer Trailer;
  int64_t Start = 0;  // where the package begins: size - 40 - PackageLength
  TSSFileLocations Settings;
  // What follows the package in a signed saver: the signing tool's padding
  // and the certificate table; 0 for an unsigned one.
  int64_t SignatureBytes = 0;
};

// Fails with EToolError ("FILE: ...") when the file cannot be opened or holds
// no readable package.
std::unique_ptr<TPackageFile> OpenPackage(const std::filesystem::path& path);

// What the package says about one picture, and whether it can be read.
struct TPictureInfo {
  int Index = 0;  // 1-based, as the tool counts everywhere
  int32_t Offset = 0;
  std::optional<int> Width, Height;
  std::optional<int64_t> JpegBytes;
  std::optional<std::string> Error;  // the read error's text
};

// One sound or Flash file; a name or size missing from its list is empty.
struct TMediaInfo {
  int Index = 0;
  std::optional<std::string> Name;  // UTF-8
  int32_t Offset = 0;
  std::optional<int32_t> Size;
};

struct TPackageReport {
  int64_t FileSize = 0;
  std::unique_ptr<TPackageFile> Package;
  std::vector<TPictureInfo> Pictures;
  std::vector<TMediaInfo> Sounds, Flash;
};

// Reads the package and every picture object; a picture that cannot be read
// is reported with its error rather than ending the report.
TPackageReport ReadPackageReport(const std::filesystem::path& path);

// Picture index (0-based) of the package, read at its offset.
std::unique_ptr<TImage> ReadPicture(TPackageFile& package, int index);

}  // namespace pixvane::maker
