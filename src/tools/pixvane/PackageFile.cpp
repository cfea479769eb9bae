#include "tools/pixvane/PackageFile.h"

#include "base/CodePage.h"
#include "base/Errors.h"
#include "tools/pixvane/ToolError.h"

namespace pixvane::tool {
namespace {

TPictureInfo PictureInfo(TPackageFile& package, int index) {
  TPictureInfo info;
  info.Index = index + 1;
  info.Offset = package.Settings.PicOffsetAt(index);
  try {
    auto image = ReadPicture(package, index);
    const TJPEGImage* graphic = image->Picture.Graphic();
    if (!graphic) throw EError("the picture object holds no JPEG picture");
    info.Width = graphic->Width();
    info.Height = graphic->Height();
    info.JpegBytes = static_cast<int64_t>(graphic->Data().size());
  } catch (const EError& e) {
    info.Error = e.what();
  }
  return info;
}

std::vector<TMediaInfo> MediaInfo(const TMediaRun& run) {
  std::vector<TMediaInfo> list;
  for (int i = 0; i < run.Count(); ++i) {
    TMediaInfo info;
    info.Index = i + 1;
    info.Offset = run.OffsetAt(i);
    if (i < run.Names.Count()) info.Name = AnsiToUtf8(run.NameAt(i));
    if (i < run.Sizes.Count()) info.Size = run.SizeAt(i);
    list.push_back(std::move(info));
  }
  return list;
}

}  // namespace

std::unique_ptr<TPackageFile> OpenPackage(const std::filesystem::path& path) {
  auto package = std::make_unique<TPackageFile>();
  try {
    package->File = TFileStream::OpenRead(path);
  } catch (const EError&) {
    throw EToolError(Located(path, 0, "cannot open the file"));
  }
  try {
    if (!ReadSettings(*package->File, package->Settings))
      throw EToolError(
          Located(path, 0, "no package: the file is shorter than the 40-byte trailer"));
  } catch (const EError& e) {
    throw EToolError(Located(
        path, 0, std::string("no package: the settings cannot be read (") + e.what() + ")"));
  }
  package->Trailer = *ReadTrailer(*package->File);
  package->Start = PackageStart(*package->File, package->Trailer.PackageLength);
  return package;
}

std::unique_ptr<TImage> ReadPicture(TPackageFile& package, int index) {
  package.File->Seek(package.Settings.PicOffsetAt(index));
  return ReadPictureObject(*package.File);
}

TPackageReport ReadPackageReport(const std::filesystem::path& path) {
  TPackageReport report;
  report.Package = OpenPackage(path);
  report.FileSize = report.Package->File->Size();
  const TSSFileLocations& settings = report.Package->Settings;
  for (int i = 0; i < settings.PicCount(); ++i)
    report.Pictures.push_back(PictureInfo(*report.Package, i));
  report.Sounds = MediaInfo(settings.Sounds());
  report.Flash = MediaInfo(settings.Flash());
  return report;
}

}  // namespace pixvane::tool
