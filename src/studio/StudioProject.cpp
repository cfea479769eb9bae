#include "studio/StudioProject.h"

#include <fstream>
#include <set>
#include <sstream>

#include "base/CodePage.h"
#include "base/Errors.h"
#include "maker/Build.h"
#ifdef PIXVANE_HAVE_INSTALLERS
#include "maker/Installer.h"
#endif
#include "maker/FileKind.h"
#include "maker/Manifest.h"
#include "maker/OutputFile.h"
#include "maker/ToolError.h"
#include "studio/ManifestJson.h"
#include "studio/StudioGuard.h"
#include "studio/StudioPlatform.h"

namespace pixvane::studio {
namespace {

namespace fs = std::filesystem;
using maker::EToolError;
using nlohmann::json;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const fs::path& path, const std::string& text) {
  maker::WriteOutputFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

// A new project's manifest: a photo show named after its folder, with
// nothing in it yet.
std::string FirstManifest(const fs::path& folder) {
  json manifest = {{"title", maker::Utf8FromPath(folder.filename())},
                   {"kind", "photo"},
                   {"show", {{"pictures", json::array()}}}};
  return ManifestFromJson(manifest);
}

// The manifest's files as names relative to the folder, "/" between parts.
json RelativeNames(const std::vector<maker::TSourceFile>& files, const fs::path& folder) {
  json names = json::array();
  for (const maker::TSourceFile& file : files) {
    fs::path relative = file.Path.lexically_relative(folder);
    names.push_back(relative.empty() || *relative.begin() == ".."
                        ? maker::Utf8FromPath(file.Path)
                        : maker::Utf8FromPath(relative.generic_string()));
  }
  return names;
}

// Each picture's own caption beside its name, null for one without.
json OwnCaptions(const std::vector<maker::TSourceFile>& pictures) {
  json captions = json::array();
  for (const maker::TSourceFile& picture : pictures)
    captions.push_back(picture.Caption ? json(*picture.Caption) : json());
  return captions;
}

bool PictureKind(const std::string& kind) {
  return kind == "a JPEG picture" || kind == "a PNG picture" || kind == "a HEIC picture";
}

}  // namespace

TStudioProject::TStudioProject(const fs::path& folder, const fs::path& player)
    : FFolder(fs::absolute(folder).lexically_normal()), FPlayer(player) {
  std::error_code error;
  fs::create_directories(FFolder, error);  // a new project starts as a name
  if (!fs::is_directory(FFolder, error))
    throw EToolError(maker::Located(FFolder, 0, "not a folder, and no folder can be made there"));
  if (!fs::exists(ManifestFile())) WriteText(ManifestFile(), FirstManifest(FFolder));
}

TStudioProject::~TStudioProject() {
  if (FBuilder.joinable()) FBuilder.join();
}

json TStudioProject::Load() const {
  std::string text = ReadText(ManifestFile());
  json manifest = ManifestToJson(text);
  return {{"manifest", manifest},
          {"lost", LostOnSave(text)},
          {"check", Check(manifest)},
          {"folder", maker::PathForMessage(FFolder)},
          {"installers", MakesInstallers()}};
}

json TStudioProject::Check(const json& manifest) const {
  json report = {{"pictures", json::array()}, {"warnings", json::array()}};
  try {
    maker::TManifest checked = Parse(manifest);
    report["pictures"] = RelativeNames(checked.Pictures, FFolder);
    report["captions"] = OwnCaptions(checked.Pictures);
    report["sounds"] = RelativeNames(checked.Sounds, FFolder);
    report["warnings"] = checked.Warnings;
  } catch (const EToolError& e) {
    report["problem"] = e.what();
  }
  return report;
}

void TStudioProject::Save(const json& manifest) {
  Parse(manifest);
  WriteText(ManifestFile(), ManifestFromJson(manifest));
}

std::string TStudioProject::AddFile(const std::string& sub, const std::string& fileName,
                                    const std::string& bytes) {
  std::string name = SafeFileName(fileName);
  if (name.empty()) throw EToolError("\"" + ValidUtf8(fileName) + "\" is no usable file name");
  if (sub == "pictures") {
    std::vector<uint8_t> head(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 64));
    std::string kind = maker::DescribeFileKind(head);
    if (!PictureKind(kind))
      throw EToolError(name + ": " + (kind.empty() ? "not a picture" : "this is " + kind) +
                       "; the studio takes JPEG, PNG and HEIC pictures");
  }
  std::error_code error;
  fs::create_directories(FFolder / sub, error);
  if (!ResolvesInside(FFolder, FFolder / sub))
    throw EToolError(sub + " leads outside the project folder; nothing was added");
  // The name is claimed by creating the file, which only one creator can
  // do, so two uploads of one name at once take two names.
  size_t dot = name.find_last_of('.');
  std::string stem = name.substr(0, dot),
              extension = dot == std::string::npos ? "" : name.substr(dot);
  fs::path path = FFolder / sub / maker::PathFromUtf8(name);
  for (int n = 2; !CreateExclusive(path); ++n) {
    if (!fs::exists(fs::symlink_status(path, error)) || n > 10000)
      throw EToolError(name + ": cannot create the file in " + sub);
    path = FFolder / sub / maker::PathFromUtf8(stem + "-" + std::to_string(n) + extension);
  }
  try {
    maker::TOutputFile out(path);  // straight from the upload: a large photo is held once
    out.Write(bytes.data(), bytes.size());
    out.Commit();
  } catch (...) {
    fs::remove(path, error);
    throw;
  }
  return sub + "/" + maker::Utf8FromPath(path.filename());
}

std::string TStudioProject::SaverName(const std::string& title) {
  std::string flat = title;
  for (char& c : flat)
    if (c == '/' || c == '\\') c = '_';
  // The title has no extension of its own: "Mr. Smith" keeps its words.
  std::string name = SafeFileName(flat + ".scr");
  return name.empty() ? "pixvane.scr" : name;
}

bool TStudioProject::MakesInstallers() {
#ifdef PIXVANE_HAVE_INSTALLERS
  return true;
#else
  return false;
#endif
}

maker::TManifest TStudioProject::Parse(const json& manifest) const {
  maker::TManifest parsed = maker::ParseManifest(ManifestFromJson(manifest), ManifestFile());
  std::set<fs::path> named;  // what the manifest on disk names may stay
  bool outside = false;
  for (const auto* list : {&parsed.Pictures, &parsed.Sounds, &parsed.Flash})
    for (const maker::TSourceFile& file : *list)
      outside = outside || !ResolvesInside(FFolder, file.Path);
  if (!outside) return parsed;
  try {
    maker::TManifest saved = maker::LoadManifest(ManifestFile());
    for (const auto* list : {&saved.Pictures, &saved.Sounds, &saved.Flash})
      for (const maker::TSourceFile& file : *list) named.insert(file.Path);
  } catch (const EToolError&) {
  }
  for (const auto* list : {&parsed.Pictures, &parsed.Sounds, &parsed.Flash})
    for (const maker::TSourceFile& file : *list)
      if (!ResolvesInside(FFolder, file.Path) && !named.count(file.Path))
        throw EToolError(maker::PathForMessage(file.Path) +
                         " is outside the project folder; add it to the project instead");
  return parsed;
}

bool TStudioProject::StartBuild(const json& manifest, bool installer) {
  std::lock_guard<std::mutex> lock(FLock);
  if (FBuild.value("running", false)) return false;
  if (FBuilder.joinable()) FBuilder.join();
  Parse(manifest);  // refused here, before a build starts
  std::string text = ManifestFromJson(manifest);
  std::string title = manifest.value("title", std::string());
  FBuild = {{"running", true}, {"index", 0}, {"count", 0}, {"warnings", json::array()}};
  FBuilder = std::thread([this, text, title, installer] {
    json done;
    try {
      maker::TBuildOptions options{ManifestFile(), FFolder / maker::PathFromUtf8(SaverName(title)),
                                   FPlayer};
      maker::TManifest parsed = maker::ParseManifest(text, options.Manifest);
      maker::TBuildResult result = maker::BuildManifest(
          parsed, options,
          [this](int index, int count, const std::string& name) {
            std::lock_guard<std::mutex> lock(FLock);
            FBuild["index"] = index;
            FBuild["count"] = count;
            FBuild["name"] = name;
          },
          [this](const std::string& warning) {
            std::lock_guard<std::mutex> lock(FLock);
            FBuild["warnings"].push_back(warning);
          });
      done = {{"saver", maker::PathForMessage(options.Output)}, {"size", result.FileSize}};
#ifdef PIXVANE_HAVE_INSTALLERS
      if (installer) {
        maker::TInstallerResult made =
            maker::MakeInstaller({options.Output, FFolder}, [this](const std::string& step) {
              std::lock_guard<std::mutex> lock(FLock);
              FBuild["step"] = step;
            });
        done["installer"] = maker::PathForMessage(made.Output);
        done["installer_size"] = made.FileSize;
      }
#else
      if (installer) throw maker::EToolError("installers are made by the native tool");
#endif
    } catch (const std::exception& e) {
      done = {{"problem", e.what()}};
    }
    std::lock_guard<std::mutex> lock(FLock);
    FBuild.update(done);
    FBuild["running"] = false;
  });
  return true;
}

json TStudioProject::BuildState() const {
  std::lock_guard<std::mutex> lock(FLock);
  return FBuild;
}

}  // namespace pixvane::studio
