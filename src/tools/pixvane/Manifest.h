#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "package/SSFileLocations.h"

namespace pixvane::tool {

// One file the manifest names, after glob expansion: where it is, and the
// manifest line that named it, so later failures (a damaged JPEG) can point
// the maker at the right line.
struct TSourceFile {
  std::filesystem::path Path;
  int Line = 0;
};

// A manifest read and checked: every path resolved and present, every value
// in range. Texts are still UTF-8; conversion to the package's code page
// happens when the settings record is filled.
struct TManifest {
  std::filesystem::path File;  // the manifest itself, as the user named it

  std::string Title, Author, Email, Web;
  TSaverKind Kind = TSaverKind::Photo;

  std::vector<TSourceFile> Pictures;
  std::vector<std::string> Descriptions;
  std::vector<int32_t> Effects;
  int32_t Interval = 5000;
  bool RandomOrder = false;
  bool RandomEffects = false;
  bool ClearBetween = false;
  bool Stretch = true;

  std::string CaptionText;
  std::string FontName = "Arial";
  int32_t FontHeight = -24;
  int32_t FontColor = 0xFFFFFF;  // 00BBGGRR
  int32_t FontCharset = 1;       // DEFAULT_CHARSET
  uint32_t FontStyle = 0;        // TFontStyle bits

  std::vector<TSourceFile> Sounds;
  TSoundOrder SoundOrder = TSoundOrder::List;
  bool SoundLoop = false;
  bool Mute = false;

  std::vector<TSourceFile> Flash;

  bool ExitMouseMove = true;
  bool ExitMouseClick = true;
  bool ExitKeyPress = true;
  bool ShowCursor = false;
  bool FlashQuit = true;
};

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

}  // namespace pixvane::tool
