#include "maker/Build.h"

#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <vector>

#include "base/Errors.h"
#include "base/Stream.h"
#include "maker/CmykJpeg.h"
#include "maker/FileKind.h"
#include "package/Package.h"
#include "package/PackageWriter.h"
#include "package/Picture.h"
#include "package/SignedSaver.h"
#ifdef PIXVANE_HAVE_PNG_FILES
#include "maker/ImageFiles.h"
#endif
#include "maker/JpegEncoder.h"
#include "maker/OutputFile.h"
#include "maker/Platform.h"
#include "maker/Reduce.h"
#include "maker/SequentialJpeg.h"
#include "maker/ToolError.h"
#include "maker/Upright.h"

namespace pixvane::maker {
namespace {

namespace fs = std::filesystem;

// Hands writes on to the saver file and turns a failed write (a full disk)
// into a message about the output, so it is not blamed on whichever picture
// or sound happened to be on its way.
class TOutputStream : public TStream {
 public:
  TOutputStream(TStream& file, const fs::path& output) : FFile(file), FOutput(output) {}
  size_t Read(void* buffer, size_t count) override { return FFile.Read(buffer, count); }
  void Write(const void* buffer, size_t count) override {
    try {
      FFile.Write(buffer, count);
    } catch (const EError& e) {
      throw EToolError(Located(FOutput, 0, std::string("cannot write the saver: ") + e.what()));
    }
  }
  int64_t Size() const override { return FFile.Size(); }
  int64_t Position() const override { return FFile.Position(); }
  void Seek(int64_t position) override { FFile.Seek(position); }

 private:
  TStream& FFile;
  const fs::path& FOutput;
};

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::error_code error;
  auto size = fs::file_size(path, error);
  // AddPicture keeps JPEG lengths in 32 bits, and offsets stop at 2 GiB anyway.
  if (!error && size > static_cast<uintmax_t>(std::numeric_limits<int32_t>::max()))
    throw EError("the file is larger than a saver can hold");
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  if (!in.eof() && in.fail()) throw EError("cannot read the file");
  return bytes;
}

// The quality pictures the player cannot show (PNG, CMYK JPEG) are stored at:
// high enough that photos show no artefacts, well below the size of a PNG.
constexpr int ConvertedQuality = 92;

// libjpeg's number alone tells a maker little.
[[noreturn]] void Damaged(const EReadError& e) {
  throw EReadError("the JPEG picture is damaged (libjpeg: " + std::string(e.what()) + ")");
}

TBitmap DecodeCmyk(const std::vector<uint8_t>& bytes) {
  try {
    return DecodeCmykJpeg(bytes);
  } catch (const EReadError& e) {
    Damaged(e);
  }
}

// Reads a picture as the JPEG bytes to store, decoding it once at a small
// scale so a damaged file stops the build here rather than showing half grey
// on the maker's screen. What libjpeg merely warns about, a PNG or HEIC
// picture turned into a JPEG (stored under name with ".jpg") and a CMYK JPEG
// turned into an RGB one go to warnings. The kind comes from the bytes, not
// the name: a JPEG called .HEIC is a JPEG.
std::vector<uint8_t> ReadPicture(const fs::path& path, std::string& name,
                                 std::vector<std::string>& warnings) {
  std::vector<uint8_t> bytes = ReadBytes(path);
  std::string kind = DescribeFileKind(bytes);
#ifdef PIXVANE_HAVE_PNG_FILES
  // A kind the player cannot show goes in as a JPEG, named .jpg.
  auto storedAsJpeg = [&](const TBitmap& image) {
    name = Utf8FromPath(PathFromUtf8(name).replace_extension(".jpg"));
    warnings.push_back(kind + "; stored as " + name + ", a JPEG at quality " +
                       std::to_string(ConvertedQuality));
    return EncodeJpeg(image, ConvertedQuality);
  };
  if (kind == "a PNG picture") return storedAsJpeg(ReadPng(path));
#endif
#ifdef PIXVANE_HAVE_IMAGE_FILES
  if (kind == "a HEIC picture") return storedAsJpeg(ReadHeic(path));
#else
  if (kind == "a HEIC picture")
    throw EError(
        "this is a HEIC picture, which the player cannot show and this Windows tool "
        "cannot convert; export it as JPEG (on the phone, or from the Photos app), or "
        "build with the native tool (pixvane on Linux), which converts it");
#endif
  if (kind.empty()) throw EError("not a JPEG picture; the player shows JPEG pictures only");
  if (kind != "a JPEG picture")
    throw EError("this is " + kind + ", not a JPEG; the player shows JPEG pictures only");
  if (IsCmykJpeg(bytes)) {
    warnings.push_back(
        "a CMYK JPEG, which the player cannot show; stored as an RGB JPEG at "
        "quality " +
        std::to_string(ConvertedQuality));
    // Its EXIF block goes along, so it is turned upright like any photo.
    return WithExifFrom(EncodeJpeg(DecodeCmyk(bytes), ConvertedQuality), bytes);
  }
  std::vector<std::string> damage;
  try {
    TJPEGImage(bytes).Decode(8, &damage);
  } catch (const EReadError& e) {
    Damaged(e);
  }
  if (!damage.empty()) {
    std::string texts;
    for (const std::string& text : damage) texts += text + "; ";
    warnings.push_back(texts + "part of the picture will show grey");
  }
  return bytes;
}

// Turns the picture upright and reduces it as the manifest asks, then makes
// a progressive picture sequential, counting what was done. All of it
// happens before storing, so the player shows every picture as it comes and
// decodes no more pixels than the screen needs, by the quicker decoder.
std::vector<uint8_t> PreparePicture(std::vector<uint8_t> jpeg, const TManifest& manifest,
                                    TBuildResult& result) {
  if (manifest.AutoRotate && ExifOrientation(jpeg) != 1) {
    jpeg = TurnUpright(jpeg);
    ++result.Turned;
  }
  if (manifest.MaxWidth > 0)
    if (auto smaller = ReduceJpeg(jpeg, manifest.MaxWidth, manifest.MaxHeight)) {
      result.BytesSaved +=
          static_cast<int64_t>(jpeg.size()) - static_cast<int64_t>(smaller->size());
      ++result.Reduced;
      jpeg = std::move(*smaller);
    }
  // Last, as a reduced picture is sequential already.
  if (auto sequential = SequentialJpeg(jpeg)) {
    jpeg = std::move(*sequential);
    ++result.Sequential;
  }
  return jpeg;
}

// Runs one step of adding a manifest file; a failure names the manifest line
// that listed the file, and the file.
template <typename Step>
void AddFile(const TManifest& manifest, const TSourceFile& file, Step step) {
  try {
    step();
  } catch (const EError& e) {
    throw EToolError(
        Located(manifest.File, file.Line, PathForMessage(file.Path) + ": " + e.what()));
  }
}

int64_t WritePackage(const TManifest& manifest, TStream& out, TSSFileLocations& settings,
                     const TBuildProgress& progress, const TBuildWarning& warn,
                     TBuildResult& result) {
  TPackageWriter writer(out, settings);
  int count = static_cast<int>(manifest.Pictures.size());
  for (int i = 0; i < count; ++i) {
    const TSourceFile& picture = manifest.Pictures[i];
    std::string name = MediaName(picture.Path);
    if (progress) progress(i + 1, count, name);
    AddFile(manifest, picture, [&] {
      std::vector<std::string> warnings;
      std::vector<uint8_t> jpeg =
          PreparePicture(ReadPicture(picture.Path, name, warnings), manifest, result);
      writer.AddPicture(std::move(jpeg), name);
      for (const std::string& warning : warnings)
        warn(Located(manifest.File, picture.Line, PathForMessage(picture.Path) + ": " + warning));
    });
  }
  for (const TSourceFile& sound : manifest.Sounds)
    AddFile(manifest, sound, [&] {
      auto source = TFileStream::OpenRead(sound.Path);
      writer.AddSound(MediaName(sound.Path), *source);
    });
  for (const TSourceFile& movie : manifest.Flash)
    AddFile(manifest, movie, [&] {
      auto source = TFileStream::OpenRead(movie.Path);
      writer.AddFlash(MediaName(movie.Path), *source);
    });
  return writer.Finish();
}

void CopyPlayer(const fs::path& player, TStream& out) {
  std::unique_ptr<TFileStream> source;
  try {
    source = TFileStream::OpenRead(player);
  } catch (const EError&) {
    throw EToolError(Located(player, 0, "cannot read the player"));
  }
  try {
    source->CopyTo(out, source->Size());
  } catch (const EError&) {  // the player changed under us; write errors are EToolError
    throw EToolError(Located(player, 0, "cannot read the player"));
  }
}

// The rename at the end replaces whatever Output names; it must not be one
// of the files the saver is made from.
void CheckOutput(const fs::path& output, const TManifest& manifest, const fs::path& player) {
  std::error_code error;
  if (fs::is_directory(output, error))
    throw EToolError(Located(output, 0, "is a folder; name the saver file to write"));
  fs::path folder = output.parent_path();
  if (!folder.empty() && !fs::is_directory(folder, error))
    throw EToolError(Located(output, 0, "the folder does not exist"));
  if (!fs::exists(output, error)) return;
  std::vector<fs::path> inputs = {manifest.File, player};
  for (const auto* list : {&manifest.Pictures, &manifest.Sounds, &manifest.Flash})
    for (const TSourceFile& file : *list) inputs.push_back(file.Path);
  for (const fs::path& input : inputs)
    if (fs::equivalent(output, input, error))
      throw EToolError(Located(output, 0,
                               "is one of the files the saver is built from; "
                               "write the saver elsewhere"));
}

// A saver is the player too, but building on one would carry its package
// along unseen: the player reads only the last one.
bool CarriesPackage(std::vector<uint8_t> bytes) {
  auto file = PackageView(std::make_unique<TMemoryStream>(std::move(bytes)));
  try {
    return ReadSettings(*file) != nullptr;
  } catch (const EError&) {
    return false;  // what lies at the trailer's offset is no settings record
  }
}

// The saver is the player with the package appended, so anything else given
// as the player would make a file that is no saver at all.
void CheckPlayer(const fs::path& player) {
  std::vector<uint8_t> bytes;
  try {
    bytes = ReadBytes(player);
  } catch (const EError&) {
    throw EToolError(Located(player, 0, "cannot read the player"));
  }
  if (IsPlayer(bytes)) {
    TMemoryStream file(bytes);
    const bool isSigned = PackageEnd(file) != file.Size();
    if (CarriesPackage(std::move(bytes)))
      throw EToolError(Located(player, 0,
                               "this is a saver already, not the Pixvane player (pixvane.scr); "
                               "its package would stay inside the new saver as dead weight"));
    if (isSigned)
      throw EToolError(Located(player, 0,
                               "this player is signed: a package after its signature would be "
                               "hidden from the player; build from the unsigned pixvane.scr and "
                               "sign the saver (--sign)"));
    return;
  }
  std::string kind = DescribeFileKind(bytes);
  std::string what = kind.empty() ? "" : "this is " + kind + ", ";
  throw EToolError(Located(player, 0, what + "not the Pixvane player (pixvane.scr)"));
}

}  // namespace

fs::path ResolvePlayer(const fs::path& given) {
  std::error_code error;
  if (!given.empty()) {
    if (fs::is_directory(given, error))
      throw EToolError(Located(given, 0,
                               "this is a folder, not the player; name the player file "
                               "(pixvane.scr) itself"));
    if (!fs::is_regular_file(given, error)) throw EToolError(Located(given, 0, "player not found"));
    CheckPlayer(given);
    return given;
  }
  fs::path self = ExecutablePath();
  if (self.empty())
    throw EToolError("no player found: the tool cannot tell where it is; pass --player PLAYER");
  return FindPlayer(self.parent_path());
}

fs::path FindPlayer(const fs::path& toolFolder) {
  // Beside the tool, as an installed tool has it; then where this checkout's
  // Windows build puts it, for the native tool run from build/native/bin.
  const fs::path places[] = {toolFolder / "pixvane.scr",
                             (toolFolder / "../../win/bin/pixvane.scr").lexically_normal()};
  std::error_code error;
  for (const fs::path& player : places)
    if (fs::is_regular_file(player, error)) {
      CheckPlayer(player);
      return player;
    }
  throw EToolError("no player found at " + PathForMessage(places[0]) + " or " +
                   PathForMessage(places[1]) +
                   "; pass --player PLAYER, or make the player with scripts/demo or the Windows "
                   "build (build/win)");
}

TBuildResult RunBuild(const TBuildOptions& options, const TBuildProgress& progress,
                      const TBuildWarning& warn) {
  return BuildManifest(LoadManifest(options.Manifest), options, progress, warn);
}

TBuildResult BuildManifest(const TManifest& manifest, const TBuildOptions& options,
                           const TBuildProgress& progress, const TBuildWarning& warn) {
  TBuildWarning toMaker = warn ? warn : [](const std::string&) {};
  for (const std::string& warning : manifest.Warnings) toMaker(warning);
  // Said once, at the build, so no maker ships a Flash saver unaware.
  if (manifest.Settings.Kind() == TSaverKind::Flash)
    toMaker(Located(manifest.File, 0,
                    "the Flash Player control is no longer distributed; this saver plays its "
                    "movies only where it is still installed"));
  fs::path player = ResolvePlayer(options.Player);
  CheckOutput(options.Output, manifest, player);
  TSSFileLocations settings = manifest.Settings;
  std::optional<TOutputFile> file;
  try {
    file.emplace(options.Output);
  } catch (const EError&) {
    throw EToolError(Located(options.Output, 0, "cannot create the saver file"));
  }
  TBuildResult result;
  TOutputStream out(*file, options.Output);
  CopyPlayer(player, out);
  result.PackageLength = WritePackage(manifest, out, settings, progress, toMaker, result);
  result.FileSize = out.Position();
  try {
    file->Commit();
  } catch (const EError& e) {
    throw EToolError(
        Located(options.Output, 0, std::string("cannot write the saver: ") + e.what()));
  }
  result.Pictures = static_cast<int>(manifest.Pictures.size());
  result.Sounds = static_cast<int>(manifest.Sounds.size());
  result.Flash = static_cast<int>(manifest.Flash.size());
  result.DefaultEffects = manifest.DefaultEffects;
  return result;
}

}  // namespace pixvane::maker
