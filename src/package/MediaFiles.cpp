#include "package/MediaFiles.h"

#include <cstdio>

#include "base/Errors.h"
#include "base/Stream.h"

namespace pixvane {
namespace {

struct TMediaList {
  int (TSSFileLocations::*Count)() const;
  int32_t (TSSFileLocations::*OffsetAt)(int) const;
  const std::string& (TSSFileLocations::*FileNameAt)(int) const;
  int32_t (TSSFileLocations::*SizeAt)(int) const;
};

constexpr TMediaList Sounds = {&TSSFileLocations::SndCount, &TSSFileLocations::SndOffsetAt,
                               &TSSFileLocations::SndFileNameAt, &TSSFileLocations::SndSizeAt};
constexpr TMediaList Movies = {&TSSFileLocations::FlashCount, &TSSFileLocations::FlashOffsetAt,
                               &TSSFileLocations::FlashFileNameAt, &TSSFileLocations::FlashSizeAt};

void Extract(const TSSFileLocations& record, const TMediaList& list, TStream& file,
             const std::string& folder) {
  for (int i = 0; i < (record.*list.Count)(); ++i) {
    file.Seek((record.*list.OffsetAt)(i));
    const std::string& name = (record.*list.FileNameAt)(i);
    std::string path = JoinPath(folder, name);
    // A package could name "..\..\x" or "C:\x" and have us write, and later
    // delete, files anywhere; such names are refused as uncreatable files.
    if (!IsPlainFileName(name)) throw EFileError(Format("Cannot create file %s", path));
    auto target = TFileStream::Create(path);
    int32_t size = (record.*list.SizeAt)(i);
    if (size < 0) throw EReadError("Stream read error");
    file.CopyTo(*target, size);
  }
}

void Delete(const TSSFileLocations& record, const TMediaList& list, const std::string& folder) {
  for (int i = 0; i < (record.*list.Count)(); ++i) {
    const std::string& name = (record.*list.FileNameAt)(i);
    if (IsPlainFileName(name)) std::remove(JoinPath(folder, name).c_str());
  }
}

}  // namespace

void ExtractMediaFiles(const TSSFileLocations& record, TStream& file, const std::string& folder) {
  Extract(record, Sounds, file, folder);
  Extract(record, Movies, file, folder);
}

void DeleteMediaFiles(const TSSFileLocations& record, const std::string& folder) {
  // A list shorter than its offset list fails at the missing name; the
  // window's destruction must still go on, so that stops only this clean-up.
  try {
    Delete(record, Sounds, folder);
  } catch (const EListError&) {
  }
  try {
    Delete(record, Movies, folder);
  } catch (const EListError&) {
  }
}

}  // namespace pixvane
