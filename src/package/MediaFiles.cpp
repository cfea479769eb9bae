#include "package/MediaFiles.h"

#include <cstdio>

#include "base/Errors.h"
#include "base/Stream.h"

namespace pixvane {
namespace {

void Extract(const TMediaRun& run, TStream& file, const std::string& folder) {
  for (int i = 0; i < run.Count(); ++i) {
    file.Seek(run.OffsetAt(i));
    const std::string name = run.FileNameAt(i);
    std::string path = JoinPath(folder, name);
    // A package could name "..\..\x" or "C:\x" and have us write, and later
    // delete, files anywhere; such names are refused as uncreatable files.
    if (!IsPlainFileName(name)) throw EFileError(Format("Cannot create file %s", path));
    auto target = TFileStream::Create(path);
    int32_t size = run.SizeAt(i);
    if (size < 0) throw EReadError("Stream read error");
    file.CopyTo(*target, size);
  }
}

void Delete(const TMediaRun& run, const std::string& folder) {
  for (int i = 0; i < run.Count(); ++i) {
    const std::string name = run.FileNameAt(i);
    if (IsPlainFileName(name)) std::remove(JoinPath(folder, name).c_str());
  }
}

}  // namespace

void ExtractMediaFiles(const TSSFileLocations& record, TStream& file, const std::string& folder) {
  Extract(record.Sounds(), file, folder);
  Extract(record.Flash(), file, folder);
}

void DeleteMediaFiles(const TSSFileLocations& record, const std::string& folder) {
  // A list shorter than its offset list fails at the missing name; the
  // window's destruction must still go on, so that stops only this clean-up.
  try {
    Delete(record.Sounds(), folder);
  } catch (const EListError&) {
  }
  try {
    Delete(record.Flash(), folder);
  } catch (const EListError&) {
  }
}

}  // namespace pixvane
