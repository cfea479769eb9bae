#include "maker/PackageFile.h"

#include <algorithm>

#include "base/CodePage.h"
#include "base/Errors.h"
#include "maker/FileKind.h"
#include "maker/ToolError.h"
#include "package/SignedSaver.h"

namespace pixvane::maker {
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
    if (i < run.Names.Count()) info.Name = run.Utf8NameAt(i);
    if (i < run.Sizes.Count()) info.Size = run.SizeAt(i);
    list.push_back(std::move(info));
  }
  return list;
}

// A file without a package said as what it is, when its first bytes tell:
// a maker who gave a picture or the bare player is helped by that, not by a
// read error. A file whose trailer gives a package stays with why: its
// package is damaged.
std::string WithoutPackage(TStream& file, const std::string& why) {
  std::optional<TTrailer> trailer = ReadTrailer(file);
  if (trailer && (trailer->PackageLength != 0 || trailer->SettingsOffset != 0)) return why;
  // The player is a few megabytes; its version resource lies well within.
  constexpr int64_t Enough = int64_t{64} << 20;
  std::vector<uint8_t> bytes(static_cast<size_t>(std::min(file.Size(), Enough)));
  file.Seek(0);
  bytes.resize(file.Read(bytes.data(), bytes.size()));
  if (IsPlayer(bytes))
    return "this is the bare Pixvane player (an executable without a package), not a saver; "
           "pixvane build makes a saver from it";
  const std::string kind = DescribeFileKind(bytes);
  if (kind == "a Windows program")
    return "this is a Windows program without a package, not a saver";
  if (!kind.empty()) return "this is " + kind + ", not a saver";
  return why;
}

}  // namespace

std::unique_ptr<TPackageFile> OpenPackage(const std::filesystem::path& path) {
  auto package = std::make_unique<TPackageFile>();
  std::unique_ptr<TStream> whole;
  try {
    whole = TFileStream::OpenRead(path);
  } catch (const EError&) {
    throw EToolError(Located(path, 0, "cannot open the file"));
  }
  const std::optional<int64_t> end = PackageEnd(*whole);
  if (!end)
    throw EToolError(Located(path, 0,
                             "the signature is damaged: the executable's security directory "
                             "does not point at a certificate table that ends the file"));
  package->SignatureBytes = whole->Size() - *end;
  package->File = PackageView(std::move(whole));
  std::string why;
  try {
    if (!ReadSettings(*package->File, package->Settings))
      why = "no package: the file is shorter than the 40-byte trailer";
  } catch (const EError& e) {
    why = std::string("no package: the settings cannot be read (") + e.what() + ")";
  }
  if (!why.empty()) throw EToolError(Located(path, 0, WithoutPackage(*package->File, why)));
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
  report.FileSize = report.Package->File->Size() + report.Package->SignatureBytes;
  const TSSFileLocations& settings = report.Package->Settings;
  for (int i = 0; i < settings.PicCount(); ++i)
    report.Pictures.push_back(PictureInfo(*report.Package, i));
  report.Sounds = MediaInfo(settings.Sounds());
  report.Flash = MediaInfo(settings.Flash());
  return report;
}

}  // namespace pixvane::maker
