#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "maker/Manifest.h"

namespace pixvane::maker {

struct TBuildOptions {
  std::filesystem::path Manifest;
  std::filesystem::path Output;
  std::filesystem::path Player;  // empty: pixvane.scr beside the tool
};

struct TBuildResult {
  int64_t FileSize = 0;
  int64_t PackageLength = 0;
  int Pictures = 0, Sounds = 0, Flash = 0;
  // Pictures turned upright from their EXIF orientation, and pictures
  // reduced to the manifest's max_size with the bytes that saved.
  int Turned = 0, Reduced = 0;
  int64_t BytesSaved = 0;
  // Progressive pictures stored as sequential ones: the same pixels, which
  // the player decodes several times faster.
  int Sequential = 0;
  // The manifest named no effects, so the saver carries DefaultEffectList.
  bool DefaultEffects = false;
};

// Called before each picture is added: its 1-based index, the count and its
// file name.
using TBuildProgress = std::function<void(int index, int count, const std::string& name)>;

// Called with each warning, complete with its place ("FILE:LINE: ..."): a
// likely mistake in the manifest, a picture libjpeg reads only in part.
using TBuildWarning = std::function<void(const std::string& warning)>;

// Copies the player and appends the manifest's package to it. The saver is
// written under a temporary name beside Output and renamed at the very end;
// on any failure (EToolError) neither Output nor the temporary file is left.
TBuildResult RunBuild(const TBuildOptions& options, const TBuildProgress& progress = {},
                      const TBuildWarning& warn = {});
// The same for a manifest already read (options.Manifest is not used), as
// the studio holds the maker's manifest before it is saved.
TBuildResult BuildManifest(const TManifest& manifest, const TBuildOptions& options,
                           const TBuildProgress& progress = {}, const TBuildWarning& warn = {});

// The player to use: the given one, or the one FindPlayer finds from the
// tool's own folder. Fails with EToolError, asking for --player, when there
// is none, and saying what the file is when it is not the player.
std::filesystem::path ResolvePlayer(const std::filesystem::path& given);

// pixvane.scr in toolFolder, or else in the Windows build beside the native
// one (toolFolder/../../win/bin, as build/native/bin and build/win/bin are).
// Fails with EToolError naming both places when neither has it.
std::filesystem::path FindPlayer(const std::filesystem::path& toolFolder);

}  // namespace pixvane::maker
