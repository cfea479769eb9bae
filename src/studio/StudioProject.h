#pragma once
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "maker/Manifest.h"

namespace pixvane::studio {

// One project folder: its manifest (pixvane.toml) and the files it names.
// Every file read or written goes through here and stays inside the
// folder. The manifest the page edits travels as JSON (ManifestJson); the
// tool's own reader checks it and the tool's own build makes the saver.
//
// Threads: every call may come from any thread, at once (the server's
// requests). The manifest is replaced whole by a rename, so a load reads
// the old one or the new; a file added claims its name by creating it, so
// two uploads of one name keep both; a build runs on a thread of its
// own and its state is read under a lock.
class TStudioProject {
 public:
  // Opens folder, making it and a first manifest in it when missing.
  TStudioProject(const std::filesystem::path& folder, const std::filesystem::path& player);
  ~TStudioProject();

  const std::filesystem::path& Folder() const { return FFolder; }
  std::filesystem::path ManifestFile() const { return FFolder / "pixvane.toml"; }
  const std::filesystem::path& Player() const { return FPlayer; }

  // {"manifest": JSON, "lost": [what a save drops], "check": report} with
  // the manifest as it is on disk now.
  nlohmann::json Load() const;
  // What the tool makes of manifest: {"pictures": [names in show order],
  // "captions": [each one's own caption or null], "warnings": [...],
  // "problem": "..." when it would not build}.
  nlohmann::json Check(const nlohmann::json& manifest) const;
  // Writes manifest as pixvane.toml once the tool's reader takes it; fails
  // with EToolError saying why it does not.
  void Save(const nlohmann::json& manifest);

  // Stores an uploaded file under sub (pictures or music) under its name as
  // written (SafeFileName), never replacing a file: a taken name gets "-2",
  // "-3", ...; returns its name relative to the folder. Pictures must be JPEG, PNG or HEIC, as the
  // build takes them.
  std::string AddFile(const std::string& sub, const std::string& fileName,
                      const std::string& bytes);

  // Starts building manifest into the folder as NAME.scr (NAME from its
  // title) on a thread of its own, and with installer its setup program
  // after it ("NAME Setup.exe"); false when a build is already running.
  bool StartBuild(const nlohmann::json& manifest, bool installer = false);
  // The running or last build: {"running", "index", "count", "name",
  // "step" (the installer's), "warnings", "saver", "size", "installer",
  // "installer_size", "problem"}.
  nlohmann::json BuildState() const;
  // Whether this build of the tool makes installers (the native one).
  static bool MakesInstallers();

  // The saver file name for a title: the title as written, with only what
  // Windows forbids in a file name replaced.
  static std::string SaverName(const std::string& title);

  // The tool's reading of a manifest from a request. Its files must lie
  // inside the folder, links resolved; one outside is taken only when the
  // manifest on disk names it already (a hand-written one may). Fails with
  // EToolError.
  maker::TManifest Parse(const nlohmann::json& manifest) const;

 private:
  std::filesystem::path FFolder, FPlayer;
  mutable std::mutex FLock;  // the build's state
  nlohmann::json FBuild = nlohmann::json::object();
  std::thread FBuilder;
};

}  // namespace pixvane::studio
