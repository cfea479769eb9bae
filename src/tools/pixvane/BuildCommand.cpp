#include "tools/pixvane/BuildCommand.h"

#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <vector>

#include "base/CodePage.h"
#include "base/Errors.h"
#include "base/Stream.h"
#include "package/PackageWriter.h"
#include "tools/pixvane/OutputFile.h"
#include "tools/pixvane/Platform.h"
#include "tools/pixvane/ToolError.h"

namespace pixvane::tool {
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

// Runs one step of adding a manifest file; a failure names the manifest line
// that listed the file, and the file.
template <typename Step>
void AddFile(const TManifest& manifest, const TSourceFile& file, Step step) {
  try {
    step();
  } catch (const EError& e) {
    throw EToolError(Located(manifest.File, file.Line, NativePath(file.Path) + ": " + e.what()));
  }
}

int64_t WritePackage(const TManifest& manifest, TStream& out, TSSFileLocations& settings,
                     const TBuildProgress& progress) {
  TPackageWriter writer(out, settings);
  int count = static_cast<int>(manifest.Pictures.size());
  for (int i = 0; i < count; ++i) {
    const TSourceFile& picture = manifest.Pictures[i];
    std::string name = MediaName(picture.Path);
    if (progress) progress(i + 1, count, name);
    AddFile(manifest, picture, [&] {
      try {
        writer.AddPicture(ReadBytes(picture.Path), Utf8ToAnsi(name));
      } catch (const EReadError& e) {
        // libjpeg's number alone tells a maker little.
        throw EReadError(std::string(e.what()) +
                         " (libjpeg cannot read the file as a JPEG picture)");
      }
    });
  }
  for (const TSourceFile& sound : manifest.Sounds)
    AddFile(manifest, sound, [&] {
      auto source = TFileStream::OpenRead(sound.Path);
      writer.AddSound(Utf8ToAnsi(MediaName(sound.Path)), *source);
    });
  for (const TSourceFile& movie : manifest.Flash)
    AddFile(manifest, movie, [&] {
      auto source = TFileStream::OpenRead(movie.Path);
      writer.AddFlash(Utf8ToAnsi(MediaName(movie.Path)), *source);
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

}  // namespace

fs::path ResolvePlayer(const fs::path& given) {
  std::error_code error;
  if (!given.empty()) {
    if (!fs::is_regular_file(given, error)) throw EToolError(Located(given, 0, "player not found"));
    return given;
  }
  fs::path self = ExecutablePath();
  fs::path player = self.empty() ? fs::path() : self.parent_path() / "pixvane.scr";
  if (player.empty() || !fs::is_regular_file(player, error))
    throw EToolError("no player found" +
                     (player.empty() ? std::string() : " at " + NativePath(player)) +
                     "; pass --player PLAYER");
  return player;
}

TBuildResult RunBuild(const TBuildOptions& options, const TBuildProgress& progress) {
  TManifest manifest = LoadManifest(options.Manifest);
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
  result.PackageLength = WritePackage(manifest, out, settings, progress);
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
  return result;
}

}  // namespace pixvane::tool
