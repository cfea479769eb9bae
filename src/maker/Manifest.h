#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "package/SSFileLocations.h"

namespace pixvane::maker {

// One file the manifest names, after glob expansion: where it is, and the
// manifest line that named it, so later failures (a damaged JPEG) can point
// the maker at the right line.
struct TSourceFile {
  std::filesystem::path Path;
  int Line = 0;
  std::optional<std::string> Caption;  // a picture's own, as the manifest gives it (UTF-8)
};

// Where pictures without a caption of their own get one at build time.
enum class TCaptionSource { None, Date, Name };

// A manifest read and checked: every path resolved and present, every value
// in range. Settings is the record the saver will carry, from the manifest's
// own defaults (see the README), its texts already in Windows-1252; its media
// lists are left to the package writer.
struct TManifest {
  std::filesystem::path File;  // the manifest itself, as the user named it
  TSSFileLocations Settings;
  std::vector<TSourceFile> Pictures, Sounds, Flash;
  // How pictures are prepared before they are stored; these never reach the
  // record. MaxWidth and MaxHeight are 0 when pictures keep their size.
  bool AutoRotate = true;
  int MaxWidth = 0, MaxHeight = 0;
  TCaptionSource CaptionsFrom = TCaptionSource::None;
  // True when the manifest named no effects and got DefaultEffects.
  bool DefaultEffects = false;
  // Likely mistakes that still make a working saver ("FILE:LINE: ..."): an
  // interval that looks like seconds, a picture name the code page cannot hold.
  std::vector<std::string> Warnings;
};

// The transitions a manifest gets when it names none (no effects key, or an
// empty list): gentle ones, since a show of plain cuts (style 0) is not what
// a maker who left the key out expects. The cross-fade, wipes across, down,
// from the centre line and from the centre box, and the dissolve.
inline constexpr int DefaultEffectList[] = {118, 5, 22, 11, 53, 127};

// DefaultEffectList as the record's comma list stores it: "118,5,...".
std::string DefaultEffectsText();

// Reads the TOML manifest at file. Every problem fails with EToolError as
// "FILE:LINE: problem": syntax, unknown tables and keys, wrong types, values
// out of range, missing files, globs that match nothing, media names that
// would not survive extraction.
TManifest LoadManifest(const std::filesystem::path& file);

// The same for manifest text already in memory; relative paths are resolved
// against file's folder.
TManifest ParseManifest(const std::string& text, const std::filesystem::path& file);

// The name a sound or Flash file is stored and extracted under: its last
// path component.
std::string MediaName(const std::filesystem::path& path);

}  // namespace pixvane::maker
